#pragma once
// Scoped GDI helpers: each undoes exactly what it did (EndPaint, select the
// old object back, delete the memory DC and bitmap).

#include <windows.h>

#include "base/Unique.h"

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

// A window's device context, for measuring and for compatible bitmaps.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
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

// Draws into a memory bitmap and copies it to the target when it goes out of
// scope, so that a repaint never flickers.
class BufferedDc {
public:
    BufferedDc(HDC target, const RECT& area);
    ~BufferedDc();
    BufferedDc(const BufferedDc&) = delete;
    BufferedDc& operator=(const BufferedDc&) = delete;
    HDC dc() const { return memory_ ? memory_ : target_; }

private:
    HDC target_;
    RECT area_;
    HDC memory_ = nullptr;
    UniqueGdiObject bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
};

void FillSolid(HDC dc, const RECT& rect, COLORREF color);

// The height of a line of `font` in `window`; `fallback` when it cannot be measured.
int LineHeight(HWND window, HGDIOBJ font, int fallback);
void FrameSolid(HDC dc, const RECT& rect, COLORREF color);

// The interface font ("微软雅黑", with the system's fallback where it is missing).
UniqueGdiObject CreateUiFont(int height, int weight);

}  // namespace mivra::win
