#pragma once
// A picture of the panel's look: a 32-bit top-down DIB section of
// premultiplied BGRA pixels, made from the program's own pixels or decoded
// from a skin's image bytes, drawn with alpha and stretching.

#include <windows.h>

#include <cstdint>
#include <span>

#include "base/Gdi.h"
#include "base/Unique.h"
#include "layout/Geometry.h"
#include "layout/NineSlice.h"
#include "look/BuiltInLook.h"

namespace mivra::win {

class Picture {
public:
    Picture() noexcept = default;
    Picture(Picture&& other) noexcept;
    Picture& operator=(Picture&& other) noexcept;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    ~Picture();

    static Picture FromPixels(const PixelImage& image);
    // BMP, JPEG, GIF, ICO, PNG and the other formats of the system's imaging
    // codecs, and Windows metafiles and enhanced metafiles. Bytes that are no
    // image give an empty picture.
    static Picture FromBytes(std::span<const std::uint8_t> bytes);

    explicit operator bool() const noexcept { return static_cast<bool>(bitmap_); }
    int width() const noexcept { return width_; }
    int height() const noexcept { return height_; }
    HBITMAP bitmap() const noexcept { return static_cast<HBITMAP>(bitmap_.get()); }
    // Top-down rows of premultiplied 0xAARRGGBB values, width() per row.
    const std::uint32_t* bits() const noexcept { return bits_; }
    std::uint32_t* bits() noexcept { return bits_; }
    // No transparency anywhere: drawn by plain copies, which are faster.
    bool opaque() const noexcept { return opaque_; }

    // The colour of a pixel as red + 256 * green + 65536 * blue, taken back
    // from premultiplied form; 0 outside the picture.
    std::uint32_t PixelAt(int x, int y) const noexcept;
    // What a part of the look fills its background with: the picture's pixel
    // at (x, y), inside its first frame; white without a picture.
    COLORREF FillColour(int x = 5, int y = 5) const noexcept { return *this ? PixelAt(x, y) : RGB(255, 255, 255); }

    // Copies `source` of the picture onto `target` of the DC, stretched when
    // the sizes differ and blended by the picture's alpha. Pieces with no
    // area or reaching outside the picture are left out.
    void Draw(HDC dc, const mivra::Box& source, const mivra::Box& target) const;
    void DrawSlices(HDC dc, std::span<const mivra::Blit> slices) const;

private:
    static Picture Blank(int width, int height);
    static Picture DecodeWithImagingCodecs(std::span<const std::uint8_t> bytes);
    static Picture RenderOlePicture(std::span<const std::uint8_t> bytes);
    void NoteOpacity() noexcept;
    HDC SourceDc() const;
    void Copy(HDC target, HDC source, const mivra::Box& from, const mivra::Box& to) const;

    UniqueGdiObject bitmap_;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    bool opaque_ = false;
    // Made on the first draw and kept: a repaint draws hundreds of pieces.
    mutable BitmapDc memory_;
};

}  // namespace mivra::win
