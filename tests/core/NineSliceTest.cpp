#include "layout/NineSlice.h"

#include <gtest/gtest.h>

namespace mivra {
namespace {

TEST(NineSlice, FramesAreThirdsOfTheImage) {
    const struct {
        int width, frame, left;
    } cases[] = {{90, 0, 0}, {90, 1, 30}, {90, 3, 90}, {100, 1, 33}, {100, 2, 66}, {100, 3, 100}};
    for (const auto& c : cases) EXPECT_EQ(FrameLeft(c.width, c.frame), c.left) << c.width << " " << c.frame;
}

TEST(NineSlice, TabCellFromItsFrame) {
    // Frame 1 of a 90 x 30 image spans x 30..60, painted over a 75 x 28 cell.
    const std::array<Blit, 9> expected = {{
        {{35, 5, 1, 1}, {10, 1, 75, 28}},  // centre colour under everything
        {{30, 5, 5, 1}, {10, 1, 5, 28}},   // left edge
        {{55, 5, 5, 1}, {80, 1, 5, 28}},   // right edge
        {{35, 0, 1, 5}, {10, 1, 75, 5}},   // top edge
        {{35, 25, 1, 5}, {10, 24, 75, 5}}, // bottom edge
        {{30, 0, 5, 5}, {10, 1, 5, 5}},
        {{55, 0, 5, 5}, {80, 1, 5, 5}},
        {{30, 25, 5, 5}, {10, 24, 5, 5}},
        {{55, 25, 5, 5}, {80, 24, 5, 5}},
    }};
    EXPECT_EQ(TabSlices(90, 30, 1, {10, 1, 75, 28}), expected);
}

TEST(NineSlice, ItemCellFromItsFrame) {
    // Frame 2 of a 60 x 40 image spans x 40..60, painted over a 150 x 46 cell.
    const std::array<Blit, 9> expected = {{
        {{45, 5, 1, 1}, {100, 46, 150, 46}},
        {{40, 0, 5, 5}, {100, 46, 5, 5}},
        {{55, 0, 5, 5}, {245, 46, 5, 5}},
        {{40, 35, 5, 5}, {100, 87, 5, 5}},
        {{55, 35, 5, 5}, {245, 87, 5, 5}},
        {{45, 0, 10, 5}, {105, 46, 140, 5}},   // top
        {{45, 35, 10, 5}, {105, 87, 140, 5}},  // bottom
        {{40, 5, 5, 30}, {100, 51, 5, 36}},    // left
        {{55, 5, 5, 30}, {245, 51, 5, 36}},    // right
    }};
    EXPECT_EQ(ItemSlices(60, 40, 2, {100, 46, 150, 46}), expected);
}

TEST(NineSlice, ItemBorderPiecesTileTheCellEdge) {
    // Corners and edges cover the 5-pixel border once each, whatever the cell.
    for (const Box cell : {Box{0, 0, 12, 30}, Box{7, 3, 150, 46}, Box{0, 0, 11, 11}}) {
        const auto pieces = ItemSlices(90, 30, 0, cell);
        for (int y = cell.top; y < cell.bottom(); ++y) {
            for (int x = cell.left; x < cell.right(); ++x) {
                int covering = 0;
                for (size_t i = 1; i < pieces.size(); ++i) covering += pieces[i].target.Contains(x, y) ? 1 : 0;
                const bool inBorder = x < cell.left + 5 || x >= cell.right() - 5 || y < cell.top + 5 ||
                                      y >= cell.bottom() - 5;
                ASSERT_EQ(covering, inBorder ? 1 : 0) << x << "," << y << " in " << cell.width << "x" << cell.height;
            }
        }
    }
}

}  // namespace
}  // namespace mivra
