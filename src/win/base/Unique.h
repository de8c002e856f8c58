#pragma once
// One owner per handle: a move-only wrapper whose deleter matches how the
// handle was acquired. Each kind of handle gets a small traits type.

#include <windows.h>

#include <utility>

namespace mivra::win {

template <typename Traits>
class Unique {
public:
    using Type = typename Traits::Type;

    Unique() noexcept = default;
    explicit Unique(Type value) noexcept : value_(value) {}
    ~Unique() { reset(); }

    Unique(Unique&& other) noexcept : value_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;

    Type get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }

    Type release() noexcept { return std::exchange(value_, Traits::Invalid()); }
    void reset(Type value = Traits::Invalid()) noexcept {
        Type old = std::exchange(value_, value);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

    // For out-parameters: frees the current value first.
    Type* put() noexcept {
        reset();
        return &value_;
    }

private:
    Type value_ = Traits::Invalid();
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::CloseHandle(h); }
};
struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::CloseHandle(h); }
};
struct WindowTraits {
    using Type = HWND;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DestroyWindow(h); }
};
struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DeleteObject(h); }
};
struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::FreeLibrary(h); }
};

struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::FindClose(h); }
};

struct MenuTraits {
    using Type = HMENU;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DestroyMenu(h); }
};

struct MappedViewTraits {
    using Type = void*;
    static Type Invalid() { return nullptr; }
    static void Close(Type view) { ::UnmapViewOfFile(view); }
};

using UniqueHandle = Unique<KernelHandleTraits>;      // CreateMutex, CreateProcess, OpenProcess
using UniqueFile = Unique<FileHandleTraits>;          // CreateFile
using UniqueWindow = Unique<WindowTraits>;            // CreateWindowEx of a window we own
using UniqueGdiObject = Unique<GdiObjectTraits>;      // CreateFont, CreateSolidBrush, CreateBitmap
using UniqueModule = Unique<ModuleTraits>;            // LoadLibrary
using UniqueFind = Unique<FindHandleTraits>;          // FindFirstFile
using UniqueMenu = Unique<MenuTraits>;                // CreatePopupMenu
using UniqueView = Unique<MappedViewTraits>;          // MapViewOfFile

}  // namespace mivra::win
