#include "layout/PanelLayout.h"

#include <gtest/gtest.h>

namespace mivra {
namespace {

PanelLayoutInput Panel(int width, int height, TabBarView view, int tabCount = 3, int border = 0) {
    PanelLayoutInput input;
    input.width = width;
    input.height = height;
    input.border = border;
    input.tabCount = tabCount;
    input.tabBar.view = view;
    input.tabBar.unitW = 75;  // as a top bar left it
    input.tabBar.unitH = 28;
    input.tabBar.height = 30;
    input.tabBarTop = 40;
    return input;
}

TEST(PanelLayout, SearchBoxTakesTheContentAreaWithoutTheGap) {
    for (TabBarView view : {TabBarView::Top, TabBarView::Bottom, TabBarView::Left, TabBarView::None}) {
        const PanelLayoutResult layout = LayOutPanel([&] {
            auto input = Panel(400, 500, view, 3, 2);
            input.searchVisible = true;
            return input;
        }());
        EXPECT_EQ(layout.titleBar, (Box{0, 0, 400, 500}));
        EXPECT_EQ(layout.contentTop, 32);
        EXPECT_EQ(layout.search, (Box{2, 32, 396, 466}));
        EXPECT_FALSE(layout.groupBar);
        EXPECT_FALSE(layout.items);
    }
}

TEST(PanelLayout, GapUnderTheTitleUnlessTheBarIsAtTheTop) {
    const struct {
        TabBarView view;
        bool updateMode;
        int contentTop;
    } cases[] = {
        {TabBarView::Top, false, 30},  {TabBarView::None, false, 35}, {TabBarView::Bottom, false, 35},
        {TabBarView::Left, false, 35}, {TabBarView::Top, true, 58},   {TabBarView::None, true, 63},
    };
    for (const auto& c : cases) {
        auto input = Panel(400, 500, c.view);
        input.updateMode = c.updateMode;
        EXPECT_EQ(LayOutPanel(input).contentTop, c.contentTop) << static_cast<int>(c.view) << " " << c.updateMode;
    }
    auto input = Panel(400, 500, TabBarView::None);
    input.updateMode = true;
    const PanelLayoutResult layout = LayOutPanel(input);
    EXPECT_EQ(layout.items, (Box{0, 63, 400, 437}));
    EXPECT_FALSE(layout.groupBar);
    EXPECT_FALSE(layout.search);
    EXPECT_EQ(layout.tabBar, input.tabBar);
}

TEST(PanelLayout, BarAtTheTopOrBottom) {
    const PanelLayoutResult top = LayOutPanel(Panel(504, 400, TabBarView::Top, 3, 2));
    EXPECT_EQ(top.contentTop, 32);
    EXPECT_EQ(top.groupBar, (Box{2, 32, 500, 30}));
    EXPECT_EQ(top.items, (Box{2, 62, 500, 336}));
    EXPECT_EQ(top.tabBar, (TabBarGeometry{TabBarView::Top, 500, 30, 75, 28}));

    // Seven tabs make two rows of 82-pixel cells, 58 pixels high at the bottom.
    const PanelLayoutResult bottom = LayOutPanel(Panel(500, 400, TabBarView::Bottom, 7));
    EXPECT_EQ(bottom.tabBar, (TabBarGeometry{TabBarView::Bottom, 500, 58, 82, 28}));
    EXPECT_EQ(bottom.items, (Box{0, 35, 500, 307}));
    EXPECT_EQ(bottom.groupBar, (Box{0, 342, 500, 58}));
}

TEST(PanelLayout, BarAtTheSideIsOneCellPlusOnePixelWide) {
    const PanelLayoutResult left = LayOutPanel(Panel(400, 300, TabBarView::Left, 3, 1));
    EXPECT_EQ(left.contentTop, 36);
    EXPECT_EQ(left.groupBar, (Box{1, 36, 86, 263}));
    EXPECT_EQ(left.items, (Box{87, 36, 312, 263}));
    EXPECT_EQ(left.tabBar, (TabBarGeometry{TabBarView::Left, 86, 263, 85, 32}));

    const PanelLayoutResult right = LayOutPanel(Panel(400, 300, TabBarView::Right, 3, 1));
    EXPECT_EQ(right.groupBar, (Box{313, 36, 86, 263}));
    EXPECT_EQ(right.items, (Box{1, 36, 312, 263}));
}

TEST(PanelLayout, ContentTopStaysA16BitValue) {
    auto input = Panel(400, 500, TabBarView::None);
    input.titleBarHeight = 32760;
    input.updateMode = true;
    EXPECT_EQ(LayOutPanel(input).contentTop, 32765);  // the update bar step is dropped

    input.titleBarHeight = 40000;
    const PanelLayoutResult layout = LayOutPanel(input);
    EXPECT_EQ(layout.contentTop, 33);  // only the gap and the update bar
    EXPECT_EQ(layout.items, (Box{0, 33, 400, 467}));
}

TEST(PanelLayout, TinyPanelsGetEmptyBoxes) {
    for (TabBarView view :
         {TabBarView::None, TabBarView::Top, TabBarView::Bottom, TabBarView::Left, TabBarView::Right}) {
        const PanelLayoutResult layout = LayOutPanel(Panel(10, 10, view, 3, 3));
        ASSERT_TRUE(layout.items) << static_cast<int>(view);
        EXPECT_GE(layout.items->width, 0) << static_cast<int>(view);
        EXPECT_EQ(layout.items->height, 0) << static_cast<int>(view);
        if (layout.groupBar) {
            EXPECT_GE(layout.groupBar->width, 0);
        }
    }
    // Too narrow for a cell: the bar keeps its cells and height.
    const PanelLayoutResult narrow = LayOutPanel(Panel(60, 300, TabBarView::Top));
    EXPECT_EQ(narrow.tabBar, (TabBarGeometry{TabBarView::Top, 60, 30, 75, 28}));
    EXPECT_EQ(narrow.items, (Box{0, 60, 60, 240}));
}

}  // namespace
}  // namespace mivra
