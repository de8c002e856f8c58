#include "look/Shadow.h"

#include <gtest/gtest.h>

namespace mivra {
namespace {

TEST(Shadow, TheRingFadesOutwardsAndIsClearOverTheOwner) {
    const int w = 200, h = 120;
    for (int i = 0; i < kShadowWidth; ++i) {
        EXPECT_EQ(ShadowAlphaAt(i, h / 2, w, h), kShadowRamp[i]) << "left edge " << i;
        EXPECT_EQ(ShadowAlphaAt(w - 1 - i, h / 2, w, h), kShadowRamp[i]) << "right edge " << i;
        EXPECT_EQ(ShadowAlphaAt(w / 2, i, w, h), kShadowRamp[i]) << "top edge " << i;
        EXPECT_EQ(ShadowAlphaAt(w / 2, h - 1 - i, w, h), kShadowRamp[i]) << "bottom edge " << i;
    }
    const std::uint8_t diagonal[] = {0, 1, 2, 7, 14, 28, 0, 0, 0, 0};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(ShadowAlphaAt(i, i, w, h), diagonal[i]) << "top-left corner " << i;
        EXPECT_EQ(ShadowAlphaAt(w - 1 - i, h - 1 - i, w, h), diagonal[i]) << "bottom-right corner " << i;
    }
    for (int y = kShadowWidth; y < h - kShadowWidth; ++y)
        for (int x = kShadowWidth; x < w - kShadowWidth; ++x) ASSERT_EQ(ShadowAlphaAt(x, y, w, h), 0) << x << "," << y;
    // The corner meets the edges without a seam.
    EXPECT_EQ(ShadowAlphaAt(9, 5, w, h), ShadowAlphaAt(10, 5, w, h));
    EXPECT_EQ(ShadowAlphaAt(5, 9, w, h), ShadowAlphaAt(5, 10, w, h));
}

TEST(Shadow, PressesResizeByTheEdgeOrCornerUnderThem) {
    const int w = 300, h = 200;
    struct Case { int x, y; ShadowZone zone; };
    const Case cases[] = {
        {3, 30, ShadowZone::Left},       {8, 8, ShadowZone::TopLeft},       {295, 5, ShadowZone::TopRight},
        {5, 195, ShadowZone::BottomLeft}, {295, 195, ShadowZone::BottomRight}, {296, 100, ShadowZone::Right},
        {150, 2, ShadowZone::Top},       {150, 197, ShadowZone::Bottom},     {150, 100, ShadowZone::None},
    };
    for (const Case& c : cases) EXPECT_EQ(ShadowZoneAt(c.x, c.y, w, h), c.zone) << c.x << "," << c.y;
    EXPECT_EQ(ShadowBoxFor({100, 50, 300, 200}), (Box{94, 44, 312, 212}));
}

}  // namespace
}  // namespace mivra
