#pragma once
// Base of every window class: registers the class once, hands `this` over at
// WM_NCCREATE and routes messages to the derived class's HandleMessage.
// Exceptions never leave the window procedure.

#include <windows.h>

namespace mivra::win {

template <typename Derived>
class Window {
public:
    HWND hwnd() const { return hwnd_; }

protected:
    Window() = default;
    ~Window() = default;
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
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

private:
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
            // The operation is abandoned where it failed; the window goes on.
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

}  // namespace mivra::win
