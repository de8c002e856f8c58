#pragma once
// Where the main panel puts its children: the title bar over the whole
// client area, then the search box, or the group bar and the shown item
// panel, by the position of the group bar.

#include <optional>

#include "layout/Geometry.h"
#include "layout/TabGrid.h"

namespace mivra {

struct PanelLayoutInput {
    int width = 0;   // client width
    int height = 0;  // client height
    int border = 0;
    int titleBarHeight = 30;
    bool updateMode = false;
    int updateBarHeight = 28;
    bool searchVisible = false;
    int tabCount = 0;
    TabBarGeometry tabBar;  // the bar as it is now (view, size, cells)
    int tabBarTop = 0;      // the bar's current top
};

struct PanelLayoutResult {
    Box titleBar;
    int contentTop = 0;  // T
    std::optional<Box> search;    // set when the search box is visible
    std::optional<Box> groupBar;  // set when the bar is placed (not for view 0 or search)
    TabBarGeometry tabBar;        // the bar after ReHeight
    std::optional<Box> items;     // the shown item panel
};

// The content top T is kept as a 16-bit integer: a step that would carry it
// beyond 32767 is skipped and layout goes on with the next one.
PanelLayoutResult LayOutPanel(const PanelLayoutInput& input);

}  // namespace mivra
