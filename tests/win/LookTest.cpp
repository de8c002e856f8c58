// Pictures of the panel's look: decoding skin images, drawing with alpha and
// stretching, and the program's own pictures written out as PNG files for a
// person to look at (build/win/look/).

#include <gtest/gtest.h>
#include <wincodec.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/ComPtr.h"
#include "base/Gdi.h"
#include "base/GdiLog.h"
#include "layout/NineSlice.h"
#include "look/BuiltInLook.h"
#include "look/Picture.h"
#include "support/TestSupport.h"

namespace mivra::test {
namespace {

using win::BitmapDc;
using win::Picture;

// Tiny files written by ImageMagick from one 3 x 2 picture: red, green at
// half alpha, fully clear / blue, white, black. The BMP has no alpha (clear
// is black there), the GIF has one clear colour and keeps green opaque.
constexpr std::uint8_t kPng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x9d, 0x74, 0x66,
    0x1a, 0x00, 0x00, 0x00, 0x1a, 0x49, 0x44, 0x41, 0x54, 0x08, 0xd7, 0x25, 0xc1, 0xb1, 0x01, 0x00,
    0x00, 0x08, 0xc3, 0xa0, 0x9c, 0xee, 0xe7, 0x74, 0x10, 0x52, 0xd2, 0xf5, 0x80, 0xca, 0x00, 0x79,
    0xa9, 0x0a, 0x77, 0xb9, 0xce, 0x90, 0x31, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae,
    0x42, 0x60, 0x82,
};
constexpr std::uint8_t kBmp[] = {
    0x42, 0x4d, 0x4e, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x36, 0x00, 0x00, 0x00, 0x28, 0x00,
    0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x18, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0x00, 0x00, 0xff, 0xff, 0xff, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0xff, 0x00, 0xff, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
};
constexpr std::uint8_t kGif[] = {
    0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x03, 0x00, 0x02, 0x00, 0xf2, 0x04, 0x00, 0x00, 0x00, 0x00,
    0xff, 0x00, 0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0xff, 0xff, 0xff, 0xff, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x01, 0x00, 0x00, 0x05, 0x00, 0x2c, 0x00, 0x00,
    0x00, 0x00, 0x03, 0x00, 0x02, 0x00, 0x00, 0x03, 0x04, 0x18, 0x52, 0x43, 0x90, 0x00, 0x3b,
};
constexpr std::uint8_t kIco[] = {
    0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x03, 0x02, 0x00, 0x00, 0x01, 0x00, 0x20, 0x00, 0x48, 0x00,
    0x00, 0x00, 0x16, 0x00, 0x00, 0x00, 0x28, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x04, 0x00,
    0x00, 0x00, 0x01, 0x00, 0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0x00,
    0x00, 0xff, 0xff, 0xff, 0xff, 0xff, 0x00, 0x00, 0x00, 0xff, 0x00, 0x00, 0xff, 0xff, 0x00, 0xff,
    0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00,
};
// 8 x 8 of RGB(200, 40, 40).
constexpr std::uint8_t kJpeg[] = {
    0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 0x4a, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01,
    0x00, 0x01, 0x00, 0x00, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x02, 0x01, 0x01, 0x01, 0x01, 0x01, 0x02,
    0x01, 0x01, 0x01, 0x02, 0x02, 0x02, 0x02, 0x02, 0x04, 0x03, 0x02, 0x02, 0x02, 0x02, 0x05, 0x04,
    0x04, 0x03, 0x04, 0x06, 0x05, 0x06, 0x06, 0x06, 0x05, 0x06, 0x06, 0x06, 0x07, 0x09, 0x08, 0x06,
    0x07, 0x09, 0x07, 0x06, 0x06, 0x08, 0x0b, 0x08, 0x09, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x06, 0x08,
    0x0b, 0x0c, 0x0b, 0x0a, 0x0c, 0x09, 0x0a, 0x0a, 0x0a, 0xff, 0xdb, 0x00, 0x43, 0x01, 0x02, 0x02,
    0x02, 0x02, 0x02, 0x02, 0x05, 0x03, 0x03, 0x05, 0x0a, 0x07, 0x06, 0x07, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0xff, 0xc0,
    0x00, 0x11, 0x08, 0x00, 0x08, 0x00, 0x08, 0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11,
    0x01, 0xff, 0xc4, 0x00, 0x14, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0xff, 0xc4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xc4, 0x00,
    0x15, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x07, 0x09, 0xff, 0xc4, 0x00, 0x14, 0x11, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xda, 0x00, 0x0c, 0x03, 0x01,
    0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3f, 0x00, 0x2f, 0x84, 0xd5, 0x01, 0xff, 0xd9,
};

std::span<const std::uint8_t> Bytes(const std::vector<std::uint8_t>& v) { return {v.data(), v.size()}; }
std::span<const std::uint8_t> Bytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Premultiplied 0xAARRGGBB values compared channel by channel.
::testing::AssertionResult Near(std::uint32_t actual, std::uint32_t expected, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>(actual >> shift & 0xFF), e = static_cast<int>(expected >> shift & 0xFF);
        if (std::abs(a - e) > tolerance) {
            char text[64];
            snprintf(text, sizeof text, "%08X, expected %08X", static_cast<unsigned>(actual),
                     static_cast<unsigned>(expected));
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}

std::uint32_t At(const Picture& picture, int x, int y) {
    GdiFlush();
    return picture.bits()[static_cast<size_t>(y) * picture.width() + x];
}

PixelImage Solid(int width, int height, std::uint32_t pixel) {
    return {width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height, pixel)};
}

TEST(Picture, FromPixelsKeepsThePixels) {
    const PixelImage image{2, 2, {0xFFFF0000, 0x80008000, 0x00000000, 0xFF123456}};
    const Picture picture = Picture::FromPixels(image);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture.width(), 2);
    EXPECT_EQ(picture.height(), 2);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(At(picture, i % 2, i / 2), image.pixels[i]);
    EXPECT_FALSE(picture.opaque());
    EXPECT_TRUE(Picture::FromPixels(Solid(3, 1, 0xFF000000)).opaque());

    // Colours as red + 256 * green + 65536 * blue, without premultiplication.
    EXPECT_EQ(picture.PixelAt(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(picture.PixelAt(1, 0), RGB(0, 255, 0));
    EXPECT_EQ(picture.PixelAt(0, 1), 0u);
    EXPECT_EQ(picture.PixelAt(1, 1), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(picture.PixelAt(2, 0), 0u);

    EXPECT_FALSE(Picture::FromPixels(PixelImage{}));
    EXPECT_FALSE(Picture::FromPixels(PixelImage{2, 2, {0xFF000000}}));
    EXPECT_FALSE(Picture());
}

struct DecodeCase {
    const char* name;
    std::span<const std::uint8_t> bytes;
    int width;
    int height;
    std::vector<std::uint32_t> pixels;  // premultiplied, row by row
    int tolerance;
};

TEST(Picture, DecodesTheImageFormatsOfSkins) {
    const std::vector<std::uint32_t> withAlpha = {0xFFFF0000, 0x80008000, 0x00000000,
                                                  0xFF0000FF, 0xFFFFFFFF, 0xFF000000};
    const std::vector<std::uint32_t> noAlpha = {0xFFFF0000, 0xFF00FF00, 0xFF000000,
                                                0xFF0000FF, 0xFFFFFFFF, 0xFF000000};
    const std::vector<std::uint32_t> oneClearColour = {0xFFFF0000, 0xFF00FF00, 0x00000000,
                                                       0xFF0000FF, 0xFFFFFFFF, 0xFF000000};
    const DecodeCase cases[] = {
        {"png", kPng, 3, 2, withAlpha, 1},
        {"bmp", kBmp, 3, 2, noAlpha, 0},
        {"gif", kGif, 3, 2, oneClearColour, 0},
        {"ico", kIco, 3, 2, withAlpha, 1},
        {"jpeg", kJpeg, 8, 8, std::vector<std::uint32_t>(64, 0xFFC82828), 6},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Picture picture = Picture::FromBytes(c.bytes);
        ASSERT_TRUE(picture);
        ASSERT_EQ(picture.width(), c.width);
        ASSERT_EQ(picture.height(), c.height);
        for (int i = 0; i < c.width * c.height; ++i)
            EXPECT_TRUE(Near(At(picture, i % c.width, i / c.width), c.pixels[i], c.tolerance)) << "pixel " << i;
        EXPECT_EQ(picture.opaque(), c.pixels == noAlpha || c.tolerance == 6);
    }
}

TEST(Picture, BytesThatAreNoImageGiveNothing) {
    const std::string png(reinterpret_cast<const char*>(kPng), sizeof kPng);
    const std::string inputs[] = {
        "",
        "this is not a picture at all",
        png.substr(0, 30),                       // cut off in the middle of the header
        png.substr(0, 16) + std::string(64, 'x'),  // a PNG signature over rubbish
        std::string("BM") + std::string(60, '\0'),
    };
    for (const std::string& input : inputs) EXPECT_FALSE(Picture::FromBytes(Bytes(input))) << input.size();
}

// A placeable Windows metafile and an enhanced metafile, both 40 x 20 pixels,
// with a red square over their left half; the right half is not drawn on.
std::vector<std::uint8_t> PlaceableMetafile() {
    // Like files made by drawing programs, the metafile states its own
    // coordinate space; players map that onto the bounds of the header.
    HDC dc = CreateMetaFileW(nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, 40, 20, nullptr);
    win::UniqueGdiObject brush(CreateSolidBrush(RGB(255, 0, 0)));
    const RECT square{0, 0, 20, 20};
    FillRect(dc, &square, static_cast<HBRUSH>(brush.get()));
    HMETAFILE metafile = CloseMetaFile(dc);
    std::vector<std::uint8_t> bits(GetMetaFileBitsEx(metafile, 0, nullptr));
    GetMetaFileBitsEx(metafile, static_cast<UINT>(bits.size()), bits.data());
    DeleteMetaFile(metafile);

    // The 22-byte header: key, handle, bounds in units of 1/96 inch, units
    // per inch, reserved, and the XOR of the ten words before the checksum.
    std::array<std::uint16_t, 11> header = {0xCDD7, 0x9AC6, 0, 0, 0, 40, 20, 96, 0, 0, 0};
    for (int i = 0; i < 10; ++i) header[10] ^= header[i];
    std::vector<std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(header.data()),
                                    reinterpret_cast<const std::uint8_t*>(header.data()) + 22);
    bytes.insert(bytes.end(), bits.begin(), bits.end());
    return bytes;
}

std::vector<std::uint8_t> EnhancedMetafile() {
    HDC screen = GetDC(nullptr);
    const int hmPerPixelX = GetDeviceCaps(screen, HORZSIZE) * 100 / GetDeviceCaps(screen, HORZRES);
    const int hmPerPixelY = GetDeviceCaps(screen, VERTSIZE) * 100 / GetDeviceCaps(screen, VERTRES);
    const RECT frame{0, 0, 40 * hmPerPixelX, 20 * hmPerPixelY};
    HDC dc = CreateEnhMetaFileW(screen, nullptr, &frame, nullptr);
    ReleaseDC(nullptr, screen);
    win::UniqueGdiObject brush(CreateSolidBrush(RGB(255, 0, 0)));
    const RECT square{0, 0, 20, 20};
    FillRect(dc, &square, static_cast<HBRUSH>(brush.get()));
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    std::vector<std::uint8_t> bytes(GetEnhMetaFileBits(metafile, 0, nullptr));
    GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()), bytes.data());
    DeleteEnhMetaFile(metafile);
    return bytes;
}

TEST(Picture, PlaysMetafilesOntoClearPixels) {
    const std::pair<const char*, std::vector<std::uint8_t>> inputs[] = {
        {"wmf", PlaceableMetafile()},
        {"emf", EnhancedMetafile()},
    };
    for (const auto& [name, bytes] : inputs) {
        SCOPED_TRACE(name);
        const Picture picture = Picture::FromBytes(Bytes(bytes));
        ASSERT_TRUE(picture);
        EXPECT_NEAR(picture.width(), 40, 2);
        EXPECT_NEAR(picture.height(), 20, 2);
        EXPECT_EQ(At(picture, 5, 10), 0xFFFF0000u);
        EXPECT_EQ(At(picture, picture.width() - 5, 10), 0u);
        EXPECT_FALSE(picture.opaque());
    }
}

// A drawing surface: a picture of one colour with a DC selected on it.
struct Surface {
    Picture picture;
    BitmapDc dc;
    Surface(int width, int height, std::uint32_t fill)
        : picture(Picture::FromPixels(Solid(width, height, fill))), dc(picture.bitmap()) {}
    std::uint32_t At(int x, int y) const { return test::At(picture, x, y); }
    // Whether every pixel inside `box` is `inside` and every other `outside`.
    ::testing::AssertionResult Shows(const Box& box, std::uint32_t inside, std::uint32_t outside, int tolerance) const {
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                auto result = Near(At(x, y), box.Contains(x, y) ? inside : outside, tolerance);
                if (!result) return result << " at " << x << "," << y;
            }
        }
        return ::testing::AssertionSuccess();
    }
};

TEST(Picture, DrawBlendsByAlphaAndStretches) {
    constexpr std::uint32_t kBlue = 0xFF0000FF;
    const Box target{3, 2, 50, 40};
    {
        // One opaque pixel fills the whole target: the centre of every cell.
        Surface surface(60, 50, kBlue);
        Picture::FromPixels(Solid(1, 1, 0xFFFF0000)).Draw(surface.dc.get(), {0, 0, 1, 1}, target);
        EXPECT_TRUE(surface.Shows(target, 0xFFFF0000, kBlue, 0));
    }
    {
        // Half-transparent green over blue, also from one pixel.
        Surface surface(60, 50, kBlue);
        Picture::FromPixels(Solid(1, 1, 0x80008000)).Draw(surface.dc.get(), {0, 0, 1, 1}, target);
        EXPECT_TRUE(surface.Shows(target, 0xFF00807F, kBlue, 1));
    }
    {
        // A clear picture leaves the surface as it was.
        Surface surface(60, 50, kBlue);
        Picture::FromPixels(Solid(4, 4, 0)).Draw(surface.dc.get(), {0, 0, 4, 4}, target);
        EXPECT_TRUE(surface.Shows(target, kBlue, kBlue, 0));
    }
    {
        // An edge strip one pixel wide repeats along the edge, row by row.
        const PixelImage strip{1, 3, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF}};
        Surface surface(40, 10, 0xFFFFFFFF);
        Picture::FromPixels(strip).Draw(surface.dc.get(), {0, 0, 1, 3}, {0, 0, 40, 3});
        for (int x = 0; x < 40; ++x)
            for (int y = 0; y < 3; ++y) EXPECT_EQ(surface.At(x, y), strip.pixels[y]) << x << "," << y;
    }
    {
        // Shrinking picks pixels instead of mixing them to black, and the
        // DC's own stretch mode is left as it was.
        Surface surface(2, 1, 0xFF808080);
        SetStretchBltMode(surface.dc.get(), BLACKONWHITE);
        Picture::FromPixels(PixelImage{4, 1, {0xFFFF0000, 0xFF00FF00, 0xFFFF0000, 0xFF00FF00}})
            .Draw(surface.dc.get(), {0, 0, 4, 1}, {0, 0, 2, 1});
        for (int x = 0; x < 2; ++x)
            EXPECT_TRUE(surface.At(x, 0) == 0xFFFF0000 || surface.At(x, 0) == 0xFF00FF00) << std::hex << surface.At(x, 0);
        EXPECT_EQ(GetStretchBltMode(surface.dc.get()), BLACKONWHITE);
    }
    {
        // Pieces outside the picture or without area draw nothing.
        Surface surface(10, 10, kBlue);
        const Picture red = Picture::FromPixels(Solid(4, 4, 0xFFFF0000));
        for (const Box& source : {Box{2, 2, 4, 4}, Box{-1, 0, 2, 2}, Box{0, 0, 0, 4}, Box{0, 0, -2, 4}})
            red.Draw(surface.dc.get(), source, {0, 0, 10, 10});
        red.Draw(surface.dc.get(), {0, 0, 4, 4}, {0, 0, 10, -3});
        Picture().Draw(surface.dc.get(), {0, 0, 1, 1}, {0, 0, 10, 10});
        EXPECT_TRUE(surface.Shows({}, 0, kBlue, 0));
    }
}

TEST(Picture, DrawSlicesPaintsANineSliceCell) {
    // Three 12 x 12 frames; frame 1 has a red centre and a 5-pixel green
    // border with a black top-left corner pixel.
    PixelImage image = Solid(36, 12, 0xFFFFFFFF);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool border = x < 5 || y < 5 || x >= 7 || y >= 7;
            image.pixels[static_cast<size_t>(y) * 36 + 12 + x] = border ? 0xFF00FF00 : 0xFFFF0000;
        }
    }
    image.pixels[12] = 0xFF000000;
    const Picture picture = Picture::FromPixels(image);
    Surface surface(80, 40, 0xFF0000FF);
    const Box cell{10, 5, 60, 30};
    const auto slices = ItemSlices(image.width, image.height, 1, cell);
    picture.DrawSlices(surface.dc.get(), slices);
    EXPECT_EQ(surface.At(cell.left, cell.top), 0xFF000000u);
    EXPECT_EQ(surface.At(cell.left + 1, cell.top), 0xFF00FF00u);
    EXPECT_EQ(surface.At(cell.right() - 1, cell.bottom() - 1), 0xFF00FF00u);
    EXPECT_EQ(surface.At(cell.left + 30, cell.top + 15), 0xFFFF0000u);
    EXPECT_EQ(surface.At(cell.left - 1, cell.top), 0xFF0000FFu);
    EXPECT_EQ(surface.At(cell.right(), cell.bottom() - 1), 0xFF0000FFu);
}

// A window's kept back buffer: made once for its size, drawn in the window's
// own coordinates, and only the painted area copied, to the same place.
TEST(BufferedDc, AKeptBufferIsMadeOnceAndCopiesThePaintedAreaInPlace) {
    win::GdiLog log;
    Surface surface(20, 20, 0xFF000000);
    win::BackBuffer kept;
    const auto paint = [&](const RECT& area, const RECT& client, COLORREF colour) {
        win::BufferedDc buffer(surface.dc.get(), area, kept, client);
        win::FillSolid(buffer.dc(), client, colour);
    };
    const RECT client{0, 0, 20, 20};
    paint({2, 2, 10, 10}, client, RGB(0, 255, 0));
    const size_t made = log.Made().size();
    paint({12, 12, 18, 18}, client, RGB(0, 0, 255));
    EXPECT_EQ(log.Made().size(), made) << "the second paint of the same size makes nothing";
    const auto rgb = [&](int x, int y) { return surface.At(x, y) & 0xFFFFFF; };
    EXPECT_EQ(rgb(5, 5), 0x00FF00u);
    EXPECT_EQ(rgb(15, 15), 0x0000FFu);
    EXPECT_EQ(rgb(11, 11), 0u) << "nothing outside the areas painted";
    EXPECT_EQ(rgb(1, 1), 0u);

    paint({0, 0, 4, 4}, {0, 0, 16, 16}, RGB(255, 0, 0));
    EXPECT_GT(log.Made().size(), made) << "a new size, a new buffer";
    EXPECT_EQ(rgb(3, 3), 0xFF0000u);
    EXPECT_EQ(log.Alive(), 2u + 2) << "the surface and the one buffer, its bitmap and DC";
}

TEST(Picture, OwnsItsHandlesThroughMovesAndDraws) {
    win::GdiLog log;
    {
        Surface surface(20, 20, 0xFF000000);
        std::vector<Picture> pictures;
        for (int i = 0; i < 40; ++i) {
            Picture picture = Picture::FromPixels(Solid(8, 8, 0xFF00FF00));
            picture.Draw(surface.dc.get(), {0, 0, 8, 8}, {0, 0, 8, 8});  // makes its memory DC
            Picture other = Picture::FromBytes(kPng);
            other.Draw(surface.dc.get(), {0, 0, 3, 2}, {0, 0, 3, 2});
            other = std::move(picture);  // frees the old bitmap after its DC
            other.Draw(surface.dc.get(), {0, 0, 8, 8}, {0, 0, 8, 8});
            pictures.push_back(std::move(other));
        }
        EXPECT_EQ(surface.At(4, 4), 0xFF00FF00u);
        // Each kept picture holds its bitmap and its memory DC; the surface two more.
        EXPECT_EQ(log.Alive(), 2u * 40 + 2);
    }
    EXPECT_GE(log.Made().size(), 4u * 40);
    EXPECT_EQ(log.Alive(), 0u);
}

// Writes a picture as a PNG file (straight alpha) with the system's encoder.
bool SavePng(const Picture& picture, const std::filesystem::path& file) {
    win::ComPtr<IWICImagingFactory> factory;
    win::ComPtr<IWICStream> stream;
    win::ComPtr<IWICBitmapEncoder> encoder;
    win::ComPtr<IWICBitmapFrameEncode> frame;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put()))) ||
        FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromFilename(file.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), nullptr)) || FAILED(frame->Initialize(nullptr)) ||
        FAILED(frame->SetSize(picture.width(), picture.height())))
        return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat32bppBGRA) return false;
    std::vector<std::uint32_t> straight(static_cast<size_t>(picture.width()) * picture.height());
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const std::uint32_t alpha = At(picture, x, y) >> 24;
            const COLORREF colour = picture.PixelAt(x, y);
            straight[static_cast<size_t>(y) * picture.width() + x] =
                alpha << 24 | GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
        }
    }
    const UINT stride = picture.width() * 4;
    return SUCCEEDED(frame->WritePixels(picture.height(), stride, stride * picture.height(),
                                        reinterpret_cast<BYTE*>(straight.data()))) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

std::filesystem::path PreviewFolder() {
    auto folder = MivraExe().parent_path() / L"look";
    std::filesystem::create_directories(folder);
    return folder;
}

// A sample panel made of the built-in pictures, with real text, to judge
// them together: title bar with logo, an update bar, a group bar with a
// selected and a hovered tab, item cells in every state and a scroll thumb.
Picture SamplePanel() {
    const Picture search = Picture::FromPixels(RenderBuiltIn(BuiltInPicture::SearchButton));
    const Picture menu = Picture::FromPixels(RenderBuiltIn(BuiltInPicture::MenuButton));
    const Picture minimize = Picture::FromPixels(RenderBuiltIn(BuiltInPicture::MinimizeButton));
    const Picture quit = Picture::FromPixels(RenderBuiltIn(BuiltInPicture::QuitButton));
    const Picture logo = Picture::FromPixels(RenderBuiltIn(BuiltInPicture::Logo));
    const Picture close = Picture::FromPixels(RenderBuiltIn(BuiltInPicture::CloseMark));
    const Picture tab = Picture::FromPixels(RenderBuiltIn(BuiltInPicture::Tab));
    const Picture cell = Picture::FromPixels(RenderBuiltIn(BuiltInPicture::ItemCell));

    constexpr int W = 320, H = 250;
    Surface panel(W, H, 0xFFE6E6E6);
    HDC dc = panel.dc.get();
    auto font = win::CreateUiFont(-13, FW_NORMAL);
    win::SelectScope selectFont(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    auto text = [&](const wchar_t* s, RECT r, COLORREF colour, UINT flags) {
        SetTextColor(dc, colour);
        DrawTextW(dc, s, -1, &r, flags | DT_SINGLELINE | DT_VCENTER);
    };
    // Title bar: search on (frame 2), menu hovered (frame 1).
    logo.Draw(dc, {0, 0, 16, 16}, {7, 7, 16, 16});
    text(L"Mivra", {30, 0, W - 132, 30}, RGB(90, 90, 90), DT_LEFT);
    const Picture* buttons[] = {&search, &menu, &minimize, &quit};
    const int frames[] = {2, 1, 0, 0};
    for (int i = 0; i < 4; ++i)
        buttons[i]->Draw(dc, {frames[i] * 30, 0, 30, 30}, {W - (4 - i) * 30, 0, 30, 30});
    // Update bar.
    win::FillSolid(dc, {0, 30, W - 1, 57}, RGB(255, 245, 185));
    text(L"发现新版本 2.0，点击这里更新", {7, 30, W - 28, 58}, RGB(0, 85, 170), DT_LEFT);
    close.Draw(dc, {0, 0, 12, 12}, {W - 28 + 8, 30 + 8, 12, 12});
    // Group bar: four 75 x 28 tabs.
    const int barTop = 58;
    win::FillSolid(dc, {0, barTop, W, barTop + 30}, tab.PixelAt(5, 5));
    const wchar_t* titles[] = {L"常用", L"工作", L"工具", L"游戏"};
    for (int p = 0; p < 4; ++p) {
        const int state = p == 1 ? 2 : p == 2 ? 1 : 0;
        const Box box{p * 76, barTop + 1, 75, 28};
        tab.DrawSlices(dc, TabSlices(tab.width(), tab.height(), state, box));
        win::FrameSolid(dc, {box.left - 1, box.top - 1, box.right() + 1, box.bottom() + 1}, RGB(230, 230, 230));
        text(titles[p], {box.left + 2, box.top, box.left + 75 - 4, box.bottom()},
             state == 2 ? RGB(90, 90, 90) : RGB(110, 110, 110), DT_CENTER);
    }
    win::FillSolid(dc, {0, barTop, W, barTop + 1}, RGB(230, 230, 230));
    win::FillSolid(dc, {0, barTop + 29, W, barTop + 30}, RGB(230, 230, 230));
    // Items: two columns of 46-pixel cells, caption right of a 32-pixel icon.
    const int top = barTop + 30;
    cell.Draw(dc, {5, 5, 1, 1}, {0, top, W, H - top});
    const wchar_t* captions[] = {L"记事本", L"浏览器", L"文档", L"计算器", L"命令提示符", L"画图"};
    for (int i = 0; i < 6; ++i) {
        const int state = i == 1 ? 1 : i == 2 ? 2 : 0;
        const Box box{(i % 2) * 150, top + (i / 2) * 46, 150, 46};
        cell.DrawSlices(dc, ItemSlices(cell.width(), cell.height(), state, box));
        win::FillSolid(dc, {box.left + 7, box.top + 7, box.left + 39, box.top + 39}, RGB(120, 160, 205));
        text(captions[i], {box.left + 46, box.top, box.right() - 5, box.bottom()}, RGB(51, 51, 51), DT_LEFT);
    }
    cell.DrawSlices(dc, ItemSlices(cell.width(), cell.height(), 2, {W - 12, top, 12, 80}));
    // GDI's text and fills leave alpha 0; the panel is an opaque window.
    GdiFlush();
    for (int i = 0; i < W * H; ++i) panel.picture.bits()[i] |= 0xFF000000;
    return std::move(panel.picture);
}

TEST(Picture, BuiltInPicturesSurviveAPngRoundTrip) {
    // Also leaves the program's own pictures as PNG files for a person.
    ASSERT_TRUE(win::EnsureComOnThisThread());
    const std::pair<BuiltInPicture, const wchar_t*> pictures[] = {
        {BuiltInPicture::SearchButton, L"SearchButton.png"},
        {BuiltInPicture::MenuButton, L"MenuButton.png"},
        {BuiltInPicture::MinimizeButton, L"MinimizeButton.png"},
        {BuiltInPicture::QuitButton, L"QuitButton.png"},
        {BuiltInPicture::Logo, L"Logo.png"},
        {BuiltInPicture::CloseMark, L"CloseMark.png"},
        {BuiltInPicture::Tab, L"Tab.png"},
        {BuiltInPicture::ItemCell, L"ItemCell.png"},
    };
    const auto folder = PreviewFolder();
    for (const auto& [which, name] : pictures) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(which));
        const Picture picture = Picture::FromPixels(RenderBuiltIn(which));
        ASSERT_TRUE(SavePng(picture, folder / name));
        const std::string bytes = ReadBytes(folder / name);
        const Picture decoded = Picture::FromBytes(Bytes(bytes));
        ASSERT_TRUE(decoded);
        ASSERT_EQ(decoded.width(), picture.width());
        ASSERT_EQ(decoded.height(), picture.height());
        EXPECT_EQ(decoded.opaque(), picture.opaque());
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                ASSERT_TRUE(Near(At(decoded, x, y), At(picture, x, y), 1)) << x << "," << y;
    }
    EXPECT_TRUE(SavePng(SamplePanel(), folder / L"SamplePanel.png"));
}

}  // namespace
}  // namespace mivra::test
