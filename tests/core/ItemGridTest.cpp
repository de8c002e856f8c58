#include "layout/ItemGrid.h"

#include <gtest/gtest.h>

#include <random>

namespace mivra {
namespace {

ItemGrid Grid(int innerWidth, int innerHeight, int cellW, int cellH, int scrollRow = 0) {
    return {innerWidth, innerHeight, cellW, cellH, scrollRow};
}

TEST(ItemGrid, CellSizeByViewOptions) {
    struct Case {
        ItemViewOptions options;
        int width;
        CellSize size;
    };
    const Case cases[] = {
        // Many columns: as many smallest cells as fit, widened to share the row.
        {{2, 1, 1}, 300, {150, 46, 32, 126}},
        {{2, 1, 1}, 100, {126, 46, 32, 126}},  // none fits: one clipped cell
        {{2, 2, 1}, 400, {133, 30, 16, 110}},
        {{2, 0, 0}, 300, {75, 68, 48, 68}},
        {{2, 2, 2}, 300, {60, 56, 16, 56}},
        {{2, 1, 2}, 0, {72, 72, 32, 72}},
        {{1, 1, 0}, 300, {150, 52, 32, 52}},
        {{1, 1, 1}, 300, {150, 46, 32, 126}},
        {{1, 0, 2}, 301, {150, 88, 48, 88}},
        {{0, 2, 1}, 300, {300, 30, 16, 110}},
        // The search panel ignores the options.
        {{0, 0, 2, true}, 300, {300, 30, 16, 110}},
        {{2, 0, 0, true}, 250, {250, 30, 16, 110}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ComputeCellSize(c.options, c.width), c.size)
            << "view " << c.options.view << " icon " << c.options.icon << " text " << c.options.text << " width "
            << c.width;
    }
}

TEST(ItemGrid, ItemsFillRowsFromTheScrolledTop) {
    const ItemGrid grid = Grid(300, 200, 100, 46, 1);
    EXPECT_EQ(grid.Columns(), 3);
    EXPECT_EQ(GetItemPos(grid, 5), (Point{100, 0}));  // column 2, row 1, one row scrolled
    EXPECT_EQ(GetItemPos(grid, 1), (Point{0, -46}));
    EXPECT_EQ(GetItemPos(grid, 7), (Point{0, 46}));
    EXPECT_EQ(GetItemPos(grid, 0), (Point{0, 0}));
    EXPECT_EQ(GetItemBottom(grid, 5), 92);
    EXPECT_EQ(GetItemBottom(grid, 7), 138);
    // A cell wider than the panel still makes one column.
    EXPECT_EQ(Grid(100, 200, 126, 46).Columns(), 1);
    EXPECT_EQ(GetItemPos(Grid(100, 200, 126, 46), 2), (Point{0, 46}));
}

TEST(ItemGrid, ScrollingTenRowsInAHundredPixels) {
    ItemGrid grid = Grid(200, 100, 200, 30);
    const int items = 10;
    for (int turn = 1; turn <= 7; ++turn) EXPECT_TRUE(ScrollDown(grid, items)) << turn;
    EXPECT_EQ(grid.scrollRow, 7);
    EXPECT_FALSE(ScrollDown(grid, items));
    EXPECT_EQ(grid.scrollRow, 7);
    EXPECT_EQ(MaxScroll(grid, items), 7);
    EXPECT_EQ(ThumbFor(grid, items), (ScrollThumb{true, 67, 33}));  // at the bottom

    for (int turn = 1; turn <= 7; ++turn) EXPECT_TRUE(ScrollUp(grid)) << turn;
    EXPECT_FALSE(ScrollUp(grid));
    EXPECT_EQ(grid.scrollRow, 0);
    EXPECT_EQ(ThumbFor(grid, items), (ScrollThumb{true, 0, 33}));

    ItemGrid empty = Grid(200, 10, 200, 30);
    EXPECT_FALSE(ScrollDown(empty, 0));
}

TEST(ItemGrid, ThumbShowsOnlyForTallerContent) {
    EXPECT_FALSE(ThumbFor(Grid(200, 100, 200, 30), 3).visible);   // 90 of 100
    EXPECT_FALSE(ThumbFor(Grid(200, 90, 200, 30), 3).visible);    // exactly fits
    EXPECT_FALSE(ThumbFor(Grid(200, 100, 200, 30), 0).visible);
    EXPECT_TRUE(ThumbFor(Grid(200, 89, 200, 30), 3).visible);
    // Never shorter than 30 pixels.
    EXPECT_EQ(ThumbFor(Grid(200, 100, 200, 30), 100), (ScrollThumb{true, 0, 30}));
    // Grown after scrolling down: the thumb stays inside the panel.
    EXPECT_EQ(MaxScroll(Grid(200, 200, 200, 30, 7), 10), 4);
    EXPECT_EQ(ThumbFor(Grid(200, 200, 200, 30, 7), 10), (ScrollThumb{true, 67, 133}));
    // Content that fits gives a non-positive maximum.
    EXPECT_EQ(MaxScroll(Grid(200, 200, 200, 30), 3), -3);
}

TEST(ItemGrid, DraggedThumbPicksTheNearestRowWithHalvesToEven) {
    const ItemGrid grid = Grid(200, 100, 200, 30);  // 6 rows, 3 fit: MaxScroll 3
    ASSERT_EQ(MaxScroll(grid, 6), 3);
    const struct {
        int thumbTop, row;
    } cases[] = {{0, 0}, {10, 0}, {11, 1}, {30, 2}, {50, 2}, {51, 3}, {60, 3}};
    for (const auto& c : cases) EXPECT_EQ(ScrollRowForThumb(grid, 6, c.thumbTop, 40), c.row) << c.thumbTop;
    EXPECT_EQ(ScrollRowForThumb(grid, 6, 0, 100), 0);
    EXPECT_EQ(ScrollRowForThumb(grid, 6, 5, 120), 0);

    const ItemGrid tenRows = Grid(200, 100, 200, 30);
    EXPECT_EQ(ScrollRowForThumb(tenRows, 10, 67, 33), 7);
    EXPECT_EQ(ScrollRowForThumb(tenRows, 10, 33, 33), 3);  // 3.45
    EXPECT_EQ(ScrollRowForThumb(tenRows, 10, 34, 33), 4);  // 3.55
}

TEST(ItemGrid, HitTestExamples) {
    const ItemGrid grid = Grid(320, 100, 100, 46, 1);  // 3 columns, 20 pixels spare
    const int count = 8, none = 9;
    const struct {
        int x, y, item;
    } cases[] = {
        {0, 0, 4},    {99, 45, 4},   {100, 0, 5},   {250, 50, none}, {310, 10, none}, {0, 46, 7},
        {150, 92, none}, {-1, 5, none}, {5, 101, none}, {321, 5, none}, {50, 100, none},
    };
    for (const auto& c : cases) EXPECT_EQ(HitTestItem(grid, count, c.x, c.y), c.item) << c.x << "," << c.y;
}

// Every item checked from the first: the reading a hit test must agree with.
int HitTestByScan(const ItemGrid& grid, int count, int x, int y) {
    if (x < 0 || y < 0 || x > grid.innerWidth || y > grid.innerHeight) return count + 1;
    for (int item = 1; item <= count; ++item) {
        const Point cell = GetItemPos(grid, item);
        if (Box{cell.x, cell.y, grid.cellW, grid.cellH}.Contains(x, y)) return item;
    }
    return count + 1;
}

TEST(ItemGrid, HitTestAgreesWithAScanOfAllItems) {
    std::mt19937 random(11);
    auto in = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (int round = 0; round < 400; ++round) {
        const ItemGrid grid = Grid(in(0, 500), in(0, 400), in(0, 200), in(0, 90), in(-2, 8));
        const int count = in(0, 40);
        for (int probe = 0; probe < 150; ++probe) {
            const int x = in(-3, grid.innerWidth + 3);
            const int y = in(-3, grid.innerHeight + 3);
            ASSERT_EQ(HitTestItem(grid, count, x, y), HitTestByScan(grid, count, x, y))
                << "panel " << grid.innerWidth << "x" << grid.innerHeight << " cells " << grid.cellW << "x"
                << grid.cellH << " scrolled " << grid.scrollRow << " items " << count << " at " << x << "," << y;
        }
    }
}

TEST(ItemGrid, IconAndCaptionPlacement) {
    struct Case {
        ItemViewOptions options;
        CellSize size;
        Box cell;
        ItemPlacement placement;
    };
    const Case cases[] = {
        {{2, 1, 1}, {150, 46, 32, 126}, {10, 20, 150, 46},
         {{17, 27}, 32, {56, 20, 99, 46}, CaptionAlign::RightOfIcon}},
        {{2, 1, 2}, {150, 72, 32, 72}, {10, 20, 150, 72},
         {{69, 29}, 32, {14, 67, 142, 25}, CaptionAlign::BelowIcon}},
        // An odd leftover puts the extra pixel on the left.
        {{2, 1, 0}, {151, 52, 32, 52}, {0, 0, 151, 52}, {{60, 10}, 32, {}, CaptionAlign::None}},
        {{2, 0, 1}, {110, 62, 48, 142}, {0, 0, 110, 62}, {{7, 7}, 48, {62, 0, 43, 62}, CaptionAlign::RightOfIcon}},
        // The search panel: 16-pixel icons, caption to the right.
        {{0, 0, 2, true}, {300, 30, 16, 110}, {0, 30, 300, 30},
         {{7, 37}, 16, {30, 30, 265, 30}, CaptionAlign::RightOfIcon}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceItem(c.options, c.size, c.cell), c.placement) << "text " << c.options.text;
}

TEST(ItemGrid, EmptyPanelHints) {
    EXPECT_EQ(EmptyHint(false, false),
              L"将文件拖入这里添加快捷项目\r\n在分组栏右键菜单中新建分组\r\n如果你觉得 Mivra 不错就介绍给朋友吧");
    EXPECT_EQ(EmptyHint(false, true), EmptyHint(false, false));
    EXPECT_EQ(EmptyHint(true, false),
              L"输入关键字开始搜索，ESC键退出搜索\r\n上下键选择，回车键运行\r\n如果你觉得 Mivra 不错就介绍给朋友吧");
    EXPECT_EQ(EmptyHint(true, true),
              L"输入关键字开始搜索\r\n上下键选择，回车键运行\r\n如果你觉得 Mivra 不错就介绍给朋友吧");
}

TEST(ItemGrid, HoverTips) {
    const std::pair<ItemRecord, std::wstring> cases[] = {
        {{L"A", L"%rp%\\a.exe", L"", L"-x", L"3"}, L"A\r\n%rp%\\a.exe -x\r\n启动次数 3"},
        {{L"A", L"", L"", L"", L"0"}, L"A\r\n启动次数 0"},
        {{L"", L"C:\\b.txt", L"", L"", L"12"}, L"C:\\b.txt\r\n启动次数 12"},
        {{L"", L"", L"", L"", L"5"}, L"空项目"},
    };
    for (const auto& [item, tip] : cases) EXPECT_EQ(ItemTipText(item), tip) << item.title;
}

TEST(ItemGrid, ClickTiming) {
    constexpr std::uint32_t kNeverRun = 0;
    const struct {
        std::uint32_t now, pressTime, lastRunTime;
        int pressed, released;
        bool click;
    } cases[] = {
        {10300, 10000, kNeverRun, 2, 2, true},
        {10800, 10000, kNeverRun, 2, 2, false},  // held too long
        {10750, 10000, kNeverRun, 2, 2, true},
        {10751, 10000, kNeverRun, 2, 2, false},
        {10300, 10000, kNeverRun, 2, 3, false},  // released on another item
        {10300, 10000, kNeverRun, 0, 0, false},
        {10300, 10000, 9900, 2, 2, false},  // just after a start
        {10400, 10000, 9900, 2, 2, true},
        {10399, 10000, 9900, 2, 2, false},
        // The millisecond tick wraps around.
        {0x100, 0xFFFFFF00u, kNeverRun, 1, 1, true},
        {0x300, 0xFFFFFF00u, kNeverRun, 1, 1, false},
        {0x100, 0xFFFFFF00u, 0xFFFFFFF0u, 1, 1, false},
        {0x100, 0xFFFFFF00u, 0xFFFFFE00u, 1, 1, true},
        // Right after the wrap, a never-started panel still takes the click.
        {0x10, 0xFFFFFFF0u, kNeverRun, 1, 1, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsClick(c.now, c.pressTime, c.lastRunTime, c.pressed, c.released), c.click)
            << c.now << " " << c.pressTime << " " << c.lastRunTime;
}

}  // namespace
}  // namespace mivra
