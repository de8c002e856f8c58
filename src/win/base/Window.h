#pragma once
// Base of every window class: registers the class once, hands `this` over at
// WM_NCCREATE and routes messages to the derived class's HandleMessage.
// Exceptions never leave the window procedure: they are noted
// (base/StoppedExceptions.h) and the message gets its default handling.
//
// A window and its object end together. Whoever owns the object destroys
// the window first, while the whole object still takes its last messages
// (WindowPtr does), then frees the object. An object freed with its window
// still there cuts the window off before destroying it, so that no message
// reaches an object whose derived part is already gone.

#include <windows.h>

#include <memory>
#include <utility>

#include "base/StoppedExceptions.h"

namespace mivra::win {

template <typename Derived>
class Window {
public:
    HWND hwnd() const { return hwnd_; }

    // The object of a window of this class; nullptr for any other window,
    // and once the window is destroyed.
    static Derived* FromHandle(HWND window) {
        if (!window || GetClassLongPtrW(window, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&Window::Procedure))
            return nullptr;
        return reinterpret_cast<Derived*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }

protected:
    Window() = default;
    ~Window() {
        if (!hwnd_) return;
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Registers the class on first use (name and style from the derived class).
    static bool RegisterClassOnce(HINSTANCE instance, const WNDCLASSEXW& prototype) {
        WNDCLASSEXW wc = prototype;
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &Window::Procedure;
        wc.hInstance = instance;
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof existing;
        return GetClassInfoExW(instance, wc.lpszClassName, &existing) || RegisterClassExW(&wc) != 0;
    }

    HWND CreateAs(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                  int width, int height, HWND parent, HINSTANCE instance) {
        return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, nullptr, instance,
                               static_cast<Derived*>(this));
    }

    // A child control: its class (double clicks, the arrow cursor) is
    // registered on first use; it starts hidden, with no size.
    bool CreateChild(HINSTANCE instance, const wchar_t* className, HWND parent, DWORD style = 0) {
        WNDCLASSEXW wc{};
        wc.style = CS_DBLCLKS;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = className;
        return RegisterClassOnce(instance, wc) &&
               CreateAs(0, className, L"", WS_CHILD | style, 0, 0, 0, 0, parent, instance) != nullptr;
    }

    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        // A window without a frame has nothing to draw outside its client
        // area, but the system's drawing of it still fetches a DC each time
        // the window is shown or activated (under Wine a few tenths of a
        // millisecond a window, every time the panel is summoned).
        if ((message == WM_NCPAINT || message == WM_NCACTIVATE) && Frameless(hwnd_))
            return message == WM_NCPAINT ? 0 : DefWindowProcW(hwnd_, message, wParam, -1);
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

private:
    static bool Frameless(HWND hwnd) {
        constexpr LONG kFrame = WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL;
        constexpr LONG kEdges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;
        return !(GetWindowLongW(hwnd, GWL_STYLE) & kFrame) && !(GetWindowLongW(hwnd, GWL_EXSTYLE) & kEdges);
    }

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        Derived* self = nullptr;
        if (message == WM_NCCREATE) {
            self = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);

        LRESULT result = 0;
        try {
            result = self->HandleMessage(message, wParam, lParam);
        } catch (...) {
            wchar_t className[64] = L"";
            GetClassNameW(hwnd, className, 64);
            NoteStoppedException(className);
            result = DefWindowProcW(hwnd, message, wParam, lParam);
        }
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

    HWND hwnd_ = nullptr;
};

// Owns a window object: the window is destroyed while the object is whole,
// then the object is freed.
struct DestroyWindowFirst {
    template <typename T>
    void operator()(T* object) const {
        if (object->hwnd()) DestroyWindow(object->hwnd());
        delete object;
    }
};
template <typename T>
using WindowPtr = std::unique_ptr<T, DestroyWindowFirst>;

template <typename T, typename... Args>
WindowPtr<T> MakeWindow(Args&&... args) {
    return WindowPtr<T>(new T(std::forward<Args>(args)...));
}

}  // namespace mivra::win
