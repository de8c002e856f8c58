#include "layout/TabGrid.h"

#include <gtest/gtest.h>

#include <random>

namespace mivra {
namespace {

TabBarGeometry Bar(TabBarView view, int width, int height = 0, int unitW = 0, int unitH = 0) {
    return {view, width, height, unitW, unitH};
}

TEST(TabGrid, ViewOptionOutsideItsRangeMeansTop) {
    const std::pair<int, TabBarView> cases[] = {
        {0, TabBarView::None}, {1, TabBarView::Top},  {2, TabBarView::Bottom}, {3, TabBarView::Left},
        {4, TabBarView::Right}, {-1, TabBarView::Top}, {5, TabBarView::Top},     {7, TabBarView::Top},
    };
    for (const auto& [value, view] : cases) EXPECT_EQ(TabBarViewOf(value), view) << value;
}

TEST(TabGrid, ReHeightOfTopAndBottomBars) {
    struct Case {
        TabBarView view;
        int width;
        int tabs;
        int unitW;
        int height;
    };
    const Case cases[] = {
        // One row keeps the fixed width of its width class.
        {TabBarView::Top, 500, 3, 75, 30},
        {TabBarView::Bottom, 500, 3, 75, 29},
        {TabBarView::Top, 500, 0, 75, 30},
        {TabBarView::Top, 400, 5, 70, 30},
        {TabBarView::Top, 401, 5, 75, 30},
        {TabBarView::Top, 401, 6, 79, 59},
        {TabBarView::Top, 600, 7, 75, 30},
        {TabBarView::Top, 601, 7, 80, 30},
        {TabBarView::Top, 70, 1, 70, 30},
        // A second row stretches the cells to fill the width: 501 / 6 - 1.
        {TabBarView::Top, 500, 7, 82, 59},
        {TabBarView::Bottom, 500, 7, 82, 58},
        {TabBarView::Top, 500, 13, 82, 88},
        {TabBarView::Top, 400, 6, 79, 59},
        {TabBarView::Top, 700, 9, 86, 59},
        {TabBarView::Top, 70, 2, 70, 59},
    };
    for (const auto& c : cases) {
        const TabBarGeometry bar = ReHeight(Bar(c.view, c.width, 5, 1, 1), c.tabs);
        EXPECT_EQ(bar, Bar(c.view, c.width, c.height, c.unitW, 28)) << c.width << " wide, " << c.tabs << " tabs";
    }
}

TEST(TabGrid, ReHeightOfOtherBars) {
    // A bar narrower than the smallest cell keeps its cells and height.
    EXPECT_EQ(ReHeight(Bar(TabBarView::Top, 69, 30, 75, 28), 3), Bar(TabBarView::Top, 69, 30, 75, 28));
    EXPECT_EQ(ReHeight(Bar(TabBarView::Bottom, -4, 29, 75, 28), 3), Bar(TabBarView::Bottom, -4, 29, 75, 28));
    // Side bars: fixed 85 x 32 cells; their height belongs to the layout.
    EXPECT_EQ(ReHeight(Bar(TabBarView::Left, 76, 400, 75, 28), 3), Bar(TabBarView::Left, 76, 400, 85, 32));
    EXPECT_EQ(ReHeight(Bar(TabBarView::Right, 1, 9, 0, 0), 0), Bar(TabBarView::Right, 1, 9, 85, 32));
    EXPECT_EQ(ReHeight(Bar(TabBarView::None, 500, 30, 75, 28), 3), Bar(TabBarView::None, 500, 30, 75, 28));
}

TEST(TabGrid, CellsFillRowsWithOnePixelGaps) {
    const TabBarGeometry top = Bar(TabBarView::Top, 500, 59, 82, 28);  // 6 columns
    EXPECT_EQ(TabColumns(top), 6);
    EXPECT_EQ(GetTabPos(top, 1), (Point{0, 1}));
    EXPECT_EQ(GetTabPos(top, 2), (Point{83, 1}));
    EXPECT_EQ(GetTabPos(top, 6), (Point{415, 1}));
    EXPECT_EQ(GetTabPos(top, 7), (Point{0, 30}));
    EXPECT_EQ(GetTabPos(top, 0), (Point{0, 1}));
    EXPECT_EQ(GetTabPos(Bar(TabBarView::Top, 500, 30, 0, 28), 4), (Point{0, 1}));

    const TabBarGeometry left = Bar(TabBarView::Left, 86, 400, 85, 32);
    EXPECT_EQ(TabColumns(left), 1);
    EXPECT_EQ(GetTabPos(left, 3), (Point{0, 67}));
    // The right bar's separator is its left column.
    EXPECT_EQ(GetTabPos(Bar(TabBarView::Right, 86, 400, 85, 32), 3), (Point{1, 67}));
}

TEST(TabGrid, HitTestExamples) {
    const TabBarGeometry top = Bar(TabBarView::Top, 500, 59, 82, 28);
    const int none = 8;
    const struct {
        int x, y, position;
    } cases[] = {
        {0, 1, 1},    {81, 28, 1},  {82, 5, none}, {83, 5, 2},    {0, 0, none},  {5, 29, none},
        {5, 30, 7},   {100, 30, none}, {-1, 5, none}, {5, 60, none}, {501, 5, none}, {499, 5, none},
    };
    for (const auto& c : cases) EXPECT_EQ(HitTestTab(top, 7, c.x, c.y), c.position) << c.x << "," << c.y;
}

// Every position checked from the first, as a plain reading of the grid does.
int HitTestByScan(const TabBarGeometry& bar, int tabCount, int x, int y) {
    if (x < 0 || y < 0 || x > bar.width || y > bar.height) return tabCount + 1;
    for (int position = 1; position <= tabCount; ++position) {
        const Point cell = GetTabPos(bar, position);
        if (Box{cell.x, cell.y, bar.unitW, bar.unitH}.Contains(x, y)) return position;
    }
    return tabCount + 1;
}

TEST(TabGrid, HitTestAgreesWithAScanOfAllPositions) {
    std::mt19937 random(7);
    const TabBarView views[] = {TabBarView::Top, TabBarView::Bottom, TabBarView::Left, TabBarView::Right};
    auto in = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (int round = 0; round < 300; ++round) {
        const TabBarGeometry bar = Bar(views[in(0, 3)], in(0, 400), in(0, 200), in(0, 90), in(0, 40));
        const int tabs = in(0, 30);
        for (int probe = 0; probe < 200; ++probe) {
            const int x = in(-3, bar.width + 3);
            const int y = in(-3, bar.height + 3);
            ASSERT_EQ(HitTestTab(bar, tabs, x, y), HitTestByScan(bar, tabs, x, y))
                << "bar " << bar.width << "x" << bar.height << " cells " << bar.unitW << "x" << bar.unitH
                << " tabs " << tabs << " at " << x << "," << y;
        }
    }
}

TEST(TabGrid, LastCellOfARowStretchesOnlyWithSeveralRows) {
    const TabBarGeometry twoRows = Bar(TabBarView::Top, 500, 59, 82, 28);
    EXPECT_EQ(TabCellRect(twoRows, 5), (Box{332, 1, 82, 28}));
    EXPECT_EQ(TabCellRect(twoRows, 6), (Box{415, 1, 85, 28}));
    EXPECT_EQ(TabCellRect(twoRows, 7), (Box{0, 30, 82, 28}));
    // The caption keeps the unstretched width.
    EXPECT_EQ(TabTextRect(twoRows, 6), (Box{417, 1, 76, 28}));

    const TabBarGeometry oneRow = Bar(TabBarView::Top, 460, 30, 75, 28);
    EXPECT_EQ(TabCellRect(oneRow, 6), (Box{380, 1, 75, 28}));
    const TabBarGeometry left = Bar(TabBarView::Left, 86, 400, 85, 32);
    EXPECT_EQ(TabCellRect(left, 2), (Box{0, 34, 85, 32}));
}

TEST(TabGrid, SeparatorsAndDropMarker) {
    EXPECT_EQ(TabSeparatorRows(Bar(TabBarView::Top, 500, 59, 82, 28)), (std::vector<int>{0, 29, 58}));
    EXPECT_EQ(TabSeparatorRows(Bar(TabBarView::Bottom, 500, 29, 75, 28)), (std::vector<int>{0}));
    EXPECT_EQ(TabSeparatorRows(Bar(TabBarView::Top, 500, 30, 75, 28)), (std::vector<int>{0, 29}));
    EXPECT_TRUE(TabSeparatorRows(Bar(TabBarView::Left, 86, 400, 85, 32)).empty());

    // Two pixels along the left edge of a tab, or along the top of a side tab.
    EXPECT_EQ(TabDropMarker(Bar(TabBarView::Top, 500, 30, 75, 28), 2), (Box{76, 1, 2, 28}));
    EXPECT_EQ(TabDropMarker(Bar(TabBarView::Left, 86, 400, 85, 32), 2), (Box{0, 34, 85, 2}));
    EXPECT_EQ(TabDropMarker(Bar(TabBarView::Right, 86, 400, 85, 32), 1), (Box{1, 1, 85, 2}));
}

}  // namespace
}  // namespace mivra
