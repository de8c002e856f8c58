#include "base/Gdi.h"

#include <utility>

#include "base/GdiLog.h"

namespace mivra::win {
namespace {

UniqueGdiObject Noted(HGDIOBJ object) {
    GdiLog::Note(object);
    return UniqueGdiObject(object);
}

}  // namespace

Dib CreateDib(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Dib dib;
    if (width <= 0 || height <= 0) return dib;
    dib.bitmap = Noted(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    dib.bits = dib.bitmap ? static_cast<std::uint32_t*>(bits) : nullptr;
    return dib;
}

UniqueGdiObject CreateBitmapFor(HDC dc, int width, int height) {
    return Noted(CreateCompatibleBitmap(dc, width, height));
}

UniqueGdiObject CreateBrush(COLORREF color) { return Noted(CreateSolidBrush(color)); }

UniqueGdiObject CreateRingRegion(int width, int height, int inset) {
    UniqueGdiObject ring = Noted(CreateRectRgn(0, 0, width, height));
    if (ring && width > 2 * inset && height > 2 * inset) {
        const UniqueGdiObject inner(CreateRectRgn(inset, inset, width - inset, height - inset));
        if (inner) CombineRgn(static_cast<HRGN>(ring.get()), static_cast<HRGN>(ring.get()), static_cast<HRGN>(inner.get()), RGN_DIFF);
    }
    return ring;
}

UniqueGdiObject CreateUiFont(int height, int weight) {
    return Noted(CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"微软雅黑"));
}

BitmapDc::BitmapDc(HBITMAP bitmap, HDC like) noexcept : dc_(CreateCompatibleDC(like)) {
    GdiLog::Note(dc_);
    if (dc_) old_ = SelectObject(dc_, bitmap);
}

BitmapDc::BitmapDc(BitmapDc&& other) noexcept
    : dc_(std::exchange(other.dc_, nullptr)), old_(std::exchange(other.old_, nullptr)) {}

BitmapDc& BitmapDc::operator=(BitmapDc&& other) noexcept {
    if (this != &other) {
        reset();
        dc_ = std::exchange(other.dc_, nullptr);
        old_ = std::exchange(other.old_, nullptr);
    }
    return *this;
}

void BitmapDc::reset() noexcept {
    if (!dc_) return;
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
    dc_ = nullptr;
    old_ = nullptr;
}

MemoryCanvas::MemoryCanvas(UniqueGdiObject bitmap, HDC like) noexcept : bitmap_(std::move(bitmap)) {
    if (bitmap_) dc_ = BitmapDc(static_cast<HBITMAP>(bitmap_.get()), like);
}

MemoryCanvas& MemoryCanvas::operator=(MemoryCanvas&& other) noexcept {
    if (this != &other) {
        reset();
        bitmap_ = std::move(other.bitmap_);
        dc_ = std::move(other.dc_);
    }
    return *this;
}

void MemoryCanvas::reset() noexcept {
    dc_.reset();
    bitmap_.reset();
}

HDC BackBuffer::Sized(HDC like, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    if (!canvas_ || width != width_ || height != height_) {
        canvas_ = MemoryCanvas(CreateBitmapFor(like, width, height), like);
        width_ = canvas_ ? width : 0;
        height_ = canvas_ ? height : 0;
    }
    return canvas_.dc();
}

BufferedDc::BufferedDc(HDC target, const RECT& area) : target_(target), area_(area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    owned_ = MemoryCanvas(CreateBitmapFor(target, width, height), target);
    memory_ = owned_.dc();
    if (memory_) SetViewportOrgEx(memory_, -area.left, -area.top, nullptr);
}

BufferedDc::BufferedDc(HDC target, const RECT& area, BackBuffer& kept, const RECT& client)
    : target_(target), area_(area), kept_(true) {
    if (area.right <= area.left || area.bottom <= area.top) return;
    memory_ = kept.Sized(target, client.right - client.left, client.bottom - client.top);
    if (memory_) IntersectClipRect(memory_, area.left, area.top, area.right, area.bottom);
}

BufferedDc::~BufferedDc() {
    if (!memory_) return;
    const int x = kept_ ? area_.left : 0, y = kept_ ? area_.top : 0;
    if (kept_) {
        SelectClipRgn(memory_, nullptr);
    } else {
        SetViewportOrgEx(memory_, 0, 0, nullptr);
    }
    BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, memory_, x, y, SRCCOPY);
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

int LineHeight(HWND window, HGDIOBJ font, int fallback) {
    WindowDc dc(window);
    if (!dc.get()) return fallback;
    SelectScope selected(dc.get(), font);
    TEXTMETRICW metrics{};
    return GetTextMetricsW(dc.get(), &metrics) ? metrics.tmHeight : fallback;
}

}  // namespace mivra::win
