#pragma once
// GDI helpers: the makers of every GDI object the program uses, and scoped
// helpers that each undo exactly what they did (EndPaint, select the old
// object back, delete the memory DC and bitmap).

#include <windows.h>

#include <cstdint>

#include "base/Unique.h"
#include "layout/Geometry.h"

namespace mivra::win {

class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }
    // The part of the window that needs painting.
    const RECT& Area() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

// A window's device context, for measuring and for compatible bitmaps; with
// `flags`, the one GetDCEx gives.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    WindowDc(HWND hwnd, DWORD flags) : hwnd_(hwnd), dc_(GetDCEx(hwnd, nullptr, flags)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectScope() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// --- Making GDI objects -------------------------------------------------------
// Every object the program makes comes from these (tests count them through
// base/GdiLog.h).

// A 32-bit top-down DIB section and its pixels (0xAARRGGBB, width per row).
struct Dib {
    UniqueGdiObject bitmap;
    std::uint32_t* bits = nullptr;
    explicit operator bool() const { return bitmap && bits; }
};
Dib CreateDib(int width, int height);
UniqueGdiObject CreateBitmapFor(HDC dc, int width, int height);
UniqueGdiObject CreateBrush(COLORREF color);
// The region of a `width` x `height` rectangle without its inner part `inset` pixels in.
UniqueGdiObject CreateRingRegion(int width, int height, int inset);
// The interface font ("微软雅黑", with the system's fallback where it is missing).
UniqueGdiObject CreateUiFont(int height, int weight);
// A memory DC with one bitmap selected into it. The DC's own bitmap is put
// back before the DC is deleted, so the selected bitmap can be freed after.
class BitmapDc {
public:
    BitmapDc() noexcept = default;
    // Compatible with `like` (the screen when null).
    explicit BitmapDc(HBITMAP bitmap, HDC like = nullptr) noexcept;
    ~BitmapDc() { reset(); }
    BitmapDc(BitmapDc&& other) noexcept;
    BitmapDc& operator=(BitmapDc&& other) noexcept;
    BitmapDc(const BitmapDc&) = delete;
    BitmapDc& operator=(const BitmapDc&) = delete;

    HDC get() const noexcept { return dc_; }
    void reset() noexcept;

private:
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// A bitmap selected into a memory DC of its own: an image that a window
// keeps and draws into. The DC goes before the bitmap, so the bitmap is
// never freed while selected.
class MemoryCanvas {
public:
    MemoryCanvas() noexcept = default;
    // Takes `bitmap`; the DC is compatible with `like` (the screen when null).
    explicit MemoryCanvas(UniqueGdiObject bitmap, HDC like = nullptr) noexcept;
    MemoryCanvas(MemoryCanvas&& other) noexcept = default;
    MemoryCanvas& operator=(MemoryCanvas&& other) noexcept;

    HDC dc() const noexcept { return dc_.get(); }
    HBITMAP bitmap() const noexcept { return static_cast<HBITMAP>(bitmap_.get()); }
    explicit operator bool() const noexcept { return dc_.get() != nullptr; }
    void reset() noexcept;

private:
    UniqueGdiObject bitmap_;
    BitmapDc dc_;  // destroyed first
};

// A window's back buffer, kept from one paint to the next and made again
// only when the window's size changes: making a bitmap and a DC costs more
// than drawing a small window, and a panel summoned from hiding paints every
// part of itself at once.
class BackBuffer {
public:
    // The buffer's DC for a client area of `width` x `height`, compatible
    // with `like`; null when it cannot be made.
    HDC Sized(HDC like, int width, int height);

private:
    MemoryCanvas canvas_;
    int width_ = 0, height_ = 0;
};

// Draws into a memory bitmap and copies it to the target when it goes out of
// scope, so that a repaint never flickers. Drawing happens in the target's
// coordinates, clipped to `area`; without a kept buffer a bitmap of the
// area's size is made for this paint alone.
class BufferedDc {
public:
    BufferedDc(HDC target, const RECT& area);
    // Draws into `kept`, sized to the client area `client` (from 0, 0).
    BufferedDc(HDC target, const RECT& area, BackBuffer& kept, const RECT& client);
    ~BufferedDc();
    BufferedDc(const BufferedDc&) = delete;
    BufferedDc& operator=(const BufferedDc&) = delete;
    HDC dc() const { return memory_ ? memory_ : target_; }

private:
    HDC target_;
    RECT area_;
    MemoryCanvas owned_;
    HDC memory_ = nullptr;  // owned_'s DC or the kept buffer's
    bool kept_ = false;
};

void FillSolid(HDC dc, const RECT& rect, COLORREF color);

inline RECT ToRect(const Box& box) { return {box.left, box.top, box.right(), box.bottom()}; }
inline Box ToBox(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

// The height of a line of `font` in `window`; `fallback` when it cannot be measured.
int LineHeight(HWND window, HGDIOBJ font, int fallback);
void FrameSolid(HDC dc, const RECT& rect, COLORREF color);

}  // namespace mivra::win
