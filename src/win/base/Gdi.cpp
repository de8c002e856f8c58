#include "base/Gdi.h"

namespace mivra::win {

BufferedDc::BufferedDc(HDC target, const RECT& area) : target_(target), area_(area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    memory_ = CreateCompatibleDC(target);
    bitmap_.reset(CreateCompatibleBitmap(target, width, height));
    if (!memory_ || !bitmap_) {
        if (memory_) DeleteDC(memory_);
        memory_ = nullptr;
        return;
    }
    oldBitmap_ = SelectObject(memory_, bitmap_.get());
    SetViewportOrgEx(memory_, -area.left, -area.top, nullptr);
}

BufferedDc::~BufferedDc() {
    if (!memory_) return;
    SetViewportOrgEx(memory_, 0, 0, nullptr);
    BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, memory_, 0, 0,
           SRCCOPY);
    SelectObject(memory_, oldBitmap_);
    DeleteDC(memory_);
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    COLORREF old = SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

void FrameSolid(HDC dc, const RECT& rect, COLORREF color) {
    const RECT edges[] = {
        {rect.left, rect.top, rect.right, rect.top + 1},
        {rect.left, rect.bottom - 1, rect.right, rect.bottom},
        {rect.left, rect.top, rect.left + 1, rect.bottom},
        {rect.right - 1, rect.top, rect.right, rect.bottom},
    };
    for (const RECT& edge : edges) FillSolid(dc, edge, color);
}

UniqueGdiObject CreateUiFont(int height, int weight) {
    return UniqueGdiObject(CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                       DEFAULT_PITCH | FF_DONTCARE, L"微软雅黑"));
}

int LineHeight(HWND window, HGDIOBJ font, int fallback) {
    WindowDc dc(window);
    if (!dc.get()) return fallback;
    SelectScope selected(dc.get(), font);
    TEXTMETRICW metrics{};
    return GetTextMetricsW(dc.get(), &metrics) ? metrics.tmHeight : fallback;
}

}  // namespace mivra::win
