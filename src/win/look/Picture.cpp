#include "look/Picture.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace mivra::win {

Picture::Picture(Picture&& other) noexcept
    : bitmap_(std::move(other.bitmap_)),
      bits_(std::exchange(other.bits_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      opaque_(std::exchange(other.opaque_, false)),
      memory_(std::move(other.memory_)) {}

Picture& Picture::operator=(Picture&& other) noexcept {
    if (this != &other) {
        // The DC lets go of the bitmap before the bitmap is freed.
        memory_.reset();
        bitmap_ = std::move(other.bitmap_);
        memory_ = std::move(other.memory_);
        bits_ = std::exchange(other.bits_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        opaque_ = std::exchange(other.opaque_, false);
    }
    return *this;
}

Picture::~Picture() { memory_.reset(); }

Picture Picture::Blank(int width, int height) {
    Picture picture;
    Dib dib = CreateDib(width, height);
    if (!dib) return picture;
    picture.bitmap_ = std::move(dib.bitmap);
    picture.bits_ = dib.bits;
    picture.width_ = width;
    picture.height_ = height;
    return picture;
}

Picture Picture::FromPixels(const PixelImage& image) {
    if (image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height))
        return Picture();
    Picture picture = Blank(image.width, image.height);
    if (!picture) return picture;
    std::memcpy(picture.bits_, image.pixels.data(), image.pixels.size() * sizeof(std::uint32_t));
    picture.NoteOpacity();
    return picture;
}

void Picture::NoteOpacity() noexcept {
    GdiFlush();
    const size_t count = static_cast<size_t>(width_) * height_;
    opaque_ = bits_ && std::all_of(bits_, bits_ + count, [](std::uint32_t p) { return p >> 24 == 0xFF; });
}

std::uint32_t Picture::PixelAt(int x, int y) const noexcept {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    GdiFlush();
    const std::uint32_t p = bits_[static_cast<size_t>(y) * width_ + x];
    const std::uint32_t alpha = p >> 24;
    if (alpha == 0) return 0;
    const auto straight = [&](int shift) { return std::min<std::uint32_t>(((p >> shift & 0xFF) * 255 + alpha / 2) / alpha, 255); };
    return straight(16) | straight(8) << 8 | straight(0) << 16;
}

HDC Picture::SourceDc() const {
    if (!memory_.get() && bitmap_) memory_ = BitmapDc(bitmap());
    return memory_.get();
}

namespace {

bool Inside(const mivra::Box& box, int width, int height) {
    return box.width > 0 && box.height > 0 && box.left >= 0 && box.top >= 0 && box.right() <= width &&
           box.bottom() <= height;
}

// Plain copies must not AND shrunk rows together as the default mode does.
class StretchModeScope {
public:
    explicit StretchModeScope(HDC dc) : dc_(dc), old_(SetStretchBltMode(dc, COLORONCOLOR)) {}
    ~StretchModeScope() {
        if (old_) SetStretchBltMode(dc_, old_);
    }
    StretchModeScope(const StretchModeScope&) = delete;
    StretchModeScope& operator=(const StretchModeScope&) = delete;

private:
    HDC dc_;
    int old_;
};

}  // namespace

void Picture::Copy(HDC target, HDC source, const mivra::Box& from, const mivra::Box& to) const {
    if (!Inside(from, width_, height_) || to.width <= 0 || to.height <= 0) return;
    if (opaque_) {
        if (from.width == to.width && from.height == to.height)
            BitBlt(target, to.left, to.top, to.width, to.height, source, from.left, from.top, SRCCOPY);
        else
            StretchBlt(target, to.left, to.top, to.width, to.height, source, from.left, from.top, from.width,
                       from.height, SRCCOPY);
        return;
    }
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(target, to.left, to.top, to.width, to.height, source, from.left, from.top, from.width, from.height,
                  blend);
}

void Picture::Draw(HDC dc, const mivra::Box& source, const mivra::Box& target) const {
    const HDC memory = SourceDc();
    if (!memory) return;
    StretchModeScope mode(dc);
    Copy(dc, memory, source, target);
}

void Picture::DrawSlices(HDC dc, std::span<const mivra::Blit> slices) const {
    const HDC memory = SourceDc();
    if (!memory) return;
    StretchModeScope mode(dc);
    for (const mivra::Blit& slice : slices) Copy(dc, memory, slice.source, slice.target);
}

}  // namespace mivra::win
