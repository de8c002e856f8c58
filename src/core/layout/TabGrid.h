#pragma once
// The group bar's grid: one cell per tab, filled row by row with 1-pixel
// gaps; one column for a bar at the left or right.

#include <string>
#include <string_view>
#include <vector>

#include "layout/Geometry.h"

namespace mivra {

// Where the group bar stands (option TabBarView).
enum class TabBarView { None = 0, Top = 1, Bottom = 2, Left = 3, Right = 4 };

// TabBarView read from its option value; out-of-range values mean Top.
TabBarView TabBarViewOf(int value);
inline bool IsHorizontal(TabBarView view) { return view == TabBarView::Top || view == TabBarView::Bottom; }

struct TabBarGeometry {
    TabBarView view = TabBarView::Top;
    int width = 0;   // the bar's width in pixels
    int height = 0;  // the bar's height in pixels
    int unitW = 0;   // TabUnitW
    int unitH = 0;   // TabUnitH
    bool operator==(const TabBarGeometry&) const = default;
};

// Columns of the grid: whole part of (width + 1) / (unitW + 1), at least 1.
int TabColumns(const TabBarGeometry& bar);

// Top-left corner of the cell of `position` (1-based) (TabX, TabY); (0, 1)
// for a position below 1 or a bar without cells yet.
Point GetTabPos(const TabBarGeometry& bar, int position);

// The position under a point, or tabCount + 1 for none.
int HitTestTab(const TabBarGeometry& bar, int tabCount, int x, int y);

// Recomputes the cell size for the bar's current width and, for a bar at the
// top or bottom, its height (the height of a bar at the left or right is set
// by the panel's layout and is kept). A top or bottom bar narrower than one
// smallest cell keeps its previous cells and height.
TabBarGeometry ReHeight(TabBarGeometry bar, int tabCount);

// The painted cell of a position: the last cell of a row stretches to the
// bar's right edge when a top or bottom bar has more than one row.
Box TabCellRect(const TabBarGeometry& bar, int position);

// Where the caption of a tab goes (it keeps the unstretched cell width).
Box TabTextRect(const TabBarGeometry& bar, int position);

// The y of every horizontal separator of a top or bottom bar.
std::vector<int> TabSeparatorRows(const TabBarGeometry& bar);

// The insertion marker shown while a tab is dragged over `position`.
Box TabDropMarker(const TabBarGeometry& bar, int position);

}  // namespace mivra
