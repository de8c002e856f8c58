#include "look/BuiltInLook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

namespace mivra {
namespace {

constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFF;
constexpr std::uint32_t kTitleGrey = 0xFFE6E6E6;  // RGB(230,230,230), the title bar's background

struct Expected {
    BuiltInPicture picture;
    int width;
    int height;
    int frames;
    bool opaque;
};

constexpr Expected kPictures[] = {
    {BuiltInPicture::SearchButton, 90, 30, 3, true},
    {BuiltInPicture::MenuButton, 90, 30, 3, true},
    {BuiltInPicture::MinimizeButton, 90, 30, 3, true},
    {BuiltInPicture::QuitButton, 90, 30, 3, true},
    {BuiltInPicture::Logo, 16, 16, 1, false},
    {BuiltInPicture::CloseMark, 12, 12, 1, false},
    {BuiltInPicture::Tab, 72, 28, 3, true},
    {BuiltInPicture::ItemCell, 72, 24, 3, true},
};

int Alpha(std::uint32_t p) { return static_cast<int>(p >> 24); }

// The largest difference of one colour channel between two pixels.
int Distance(std::uint32_t a, std::uint32_t b) {
    int largest = 0;
    for (int shift = 0; shift < 32; shift += 8)
        largest = std::max(largest, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return largest;
}

TEST(BuiltInLook, SizesAlphaAndPremultiplication) {
    for (const Expected& e : kPictures) {
        SCOPED_TRACE(static_cast<int>(e.picture));
        const PixelImage image = RenderBuiltIn(e.picture);
        ASSERT_EQ(image.width, e.width);
        ASSERT_EQ(image.height, e.height);
        ASSERT_EQ(image.pixels.size(), static_cast<size_t>(e.width) * e.height);
        EXPECT_EQ(image.width % e.frames, 0);
        bool allOpaque = true;
        for (std::uint32_t p : image.pixels) {
            const int a = Alpha(p);
            allOpaque = allOpaque && a == 255;
            for (int shift : {0, 8, 16}) ASSERT_LE(static_cast<int>((p >> shift) & 0xFF), a) << std::hex << p;
        }
        EXPECT_EQ(allOpaque, e.opaque);
    }
}

TEST(BuiltInLook, EveryFrameShowsSomethingOnItsOwnBackground) {
    // Each frame holds a shape clearly set off from its top-left pixel: a
    // glyph, a highlight or the logo's mark.
    for (const Expected& e : kPictures) {
        if (e.picture == BuiltInPicture::Tab || e.picture == BuiltInPicture::ItemCell) continue;
        const PixelImage image = RenderBuiltIn(e.picture);
        const int frameWidth = image.width / e.frames;
        for (int f = 0; f < e.frames; ++f) {
            int strongest = 0;
            for (int y = 0; y < image.height; ++y)
                for (int x = 0; x < frameWidth; ++x)
                    strongest = std::max(strongest, Distance(image.At(f * frameWidth + x, y), image.At(f * frameWidth, 0)));
            EXPECT_GE(strongest, 100) << static_cast<int>(e.picture) << " frame " << f;
        }
    }
}

TEST(BuiltInLook, ButtonsSitOnTheTitleBarAndChangeOnHoverAndPress) {
    for (BuiltInPicture button : {BuiltInPicture::SearchButton, BuiltInPicture::MenuButton,
                                  BuiltInPicture::MinimizeButton, BuiltInPicture::QuitButton}) {
        SCOPED_TRACE(static_cast<int>(button));
        const PixelImage image = RenderBuiltIn(button);
        const int bw = image.width / 3;
        std::set<std::uint32_t> insides;
        for (int f = 0; f < 3; ++f) {
            // Frame corners blend into the title bar.
            EXPECT_EQ(image.At(f * bw, 0), kTitleGrey);
            EXPECT_EQ(image.At(f * bw + bw - 1, image.height - 1), kTitleGrey);
            insides.insert(image.At(f * bw + 5, 5));
        }
        EXPECT_EQ(insides.size(), 3u) << "normal, hover and pressed must differ";
        EXPECT_EQ(image.At(5, 5), kTitleGrey);
    }
}

TEST(BuiltInLook, TransparentPicturesHaveClearCorners) {
    const PixelImage logo = RenderBuiltIn(BuiltInPicture::Logo);
    EXPECT_LT(Alpha(logo.At(0, 0)), 128);
    EXPECT_EQ(Alpha(logo.At(8, 8)), 255);
    const PixelImage close = RenderBuiltIn(BuiltInPicture::CloseMark);
    EXPECT_EQ(Alpha(close.At(0, 0)), 0);
    EXPECT_EQ(Alpha(close.At(11, 0)), 0);
    EXPECT_GE(Alpha(close.At(6, 6)), 128);
}

TEST(BuiltInLook, CellImagesFillFromFrameZeroAndHighlightTheOthers) {
    // The group bar and the item panel fill their empty parts with pixel
    // (5, 5) of frame 0; hover and pressed (or selected) must stand out from
    // it and from each other. The tab's selected frame also colours the
    // rename box at (2 * PW / 3 + 5, 5).
    for (BuiltInPicture picture : {BuiltInPicture::Tab, BuiltInPicture::ItemCell}) {
        SCOPED_TRACE(static_cast<int>(picture));
        const PixelImage image = RenderBuiltIn(picture);
        const int fw = image.width / 3;
        ASSERT_GE(fw, 20);
        EXPECT_EQ(image.At(5, 5), kOpaqueWhite);
        const std::uint32_t hover = image.At(fw + 5, 5);
        const std::uint32_t pressed = image.At(2 * fw + 5, 5);
        EXPECT_NE(hover, kOpaqueWhite);
        EXPECT_NE(pressed, kOpaqueWhite);
        EXPECT_NE(hover, pressed);
        // Still light enough for dark text on top.
        for (std::uint32_t inside : {hover, pressed})
            for (int shift : {0, 8, 16}) EXPECT_GE(static_cast<int>((inside >> shift) & 0xFF), 190);
    }
}

TEST(BuiltInLook, EdgesStretchWithoutSeams) {
    // The group bar stretches the one-pixel strips next to each corner, the
    // item panel whole edges: every edge of a frame must be the same all
    // along, or a stretched cell shows steps.
    for (BuiltInPicture picture : {BuiltInPicture::Tab, BuiltInPicture::ItemCell}) {
        SCOPED_TRACE(static_cast<int>(picture));
        const PixelImage image = RenderBuiltIn(picture);
        const int fw = image.width / 3;
        for (int f = 0; f < 3; ++f) {
            const int a = f * fw;
            for (int x = a + 5; x < a + fw - 5; ++x) {
                for (int y = 0; y < 5; ++y) {
                    EXPECT_LE(Distance(image.At(x, y), image.At(a + 5, y)), 2) << x << "," << y;
                    const int bottom = image.height - 1 - y;
                    EXPECT_LE(Distance(image.At(x, bottom), image.At(a + 5, bottom)), 2) << x << "," << bottom;
                }
            }
            for (int y = 5; y < image.height - 5; ++y) {
                for (int x = 0; x < 5; ++x) {
                    EXPECT_LE(Distance(image.At(a + x, y), image.At(a + x, 5)), 2) << a + x << "," << y;
                    const int right = a + fw - 1 - x;
                    EXPECT_LE(Distance(image.At(right, y), image.At(right, 5)), 2) << right << "," << y;
                }
            }
        }
    }
}

}  // namespace
}  // namespace mivra
