#include "layout/TabGrid.h"

#include <algorithm>
#include <climits>

namespace mivra {
namespace {

constexpr int kTabHeight = 28;
constexpr int kSideTabWidth = 85;
constexpr int kSideTabHeight = 32;

int Saturate(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

// The smallest cell (gap included) and the width of cells in a single row,
// by the width of a top or bottom bar.
struct RowCells {
    int minimum;
    int single;
};

RowCells RowCellsFor(int barWidth) {
    if (barWidth > 600) return {81, 80};
    if (barWidth > 400) return {76, 75};
    return {71, 70};
}

}  // namespace

TabBarView TabBarViewOf(int value) {
    if (value < 0 || value > 4) return TabBarView::Top;
    return static_cast<TabBarView>(value);
}

int TabColumns(const TabBarGeometry& bar) {
    const long long pitch = static_cast<long long>(bar.unitW) + 1;
    if (pitch <= 0) return 1;
    return Saturate(std::max((static_cast<long long>(bar.width) + 1) / pitch, 1LL));
}

Point GetTabPos(const TabBarGeometry& bar, int position) {
    if (position <= 0 || bar.unitW <= 0) return {0, 1};
    const int cols = TabColumns(bar);
    const long long col = (position - 1) % cols;
    const long long row = (position - 1) / cols;
    long long x = (static_cast<long long>(bar.unitW) + 1) * col;
    const long long y = row * (static_cast<long long>(bar.unitH) + 1) + 1;
    if (bar.view == TabBarView::Right) ++x;
    return {Saturate(x), Saturate(y)};
}

int HitTestTab(const TabBarGeometry& bar, int tabCount, int x, int y) {
    const int none = tabCount + 1;
    if (x < 0 || y < 0 || x > bar.width || y > bar.height) return none;
    if (bar.unitW <= 0 || bar.unitH <= 0) return none;  // no cell has an inside
    const long long cols = TabColumns(bar);
    const long long pitchY = static_cast<long long>(bar.unitH) + 1;
    // Rows above the pointer's row cannot hold it; start at the last cell of
    // the row above.
    long long row = y / pitchY;
    if (y % pitchY == 0) --row;
    const long long start = std::max(cols * row, 1LL);
    for (long long position = start; position <= tabCount; ++position) {
        const Point cell = GetTabPos(bar, static_cast<int>(position));
        if (cell.x <= x && x < static_cast<long long>(cell.x) + bar.unitW && cell.y <= y &&
            y < static_cast<long long>(cell.y) + bar.unitH)
            return static_cast<int>(position);
        if (cell.y > y) break;  // cells only go down from here
    }
    return none;
}

TabBarGeometry ReHeight(TabBarGeometry bar, int tabCount) {
    switch (bar.view) {
        case TabBarView::None:
            return bar;
        case TabBarView::Left:
        case TabBarView::Right:
            bar.unitW = kSideTabWidth;
            bar.unitH = kSideTabHeight;
            return bar;
        case TabBarView::Top:
        case TabBarView::Bottom:
            break;
    }
    const RowCells cells = RowCellsFor(bar.width);
    const long long span = static_cast<long long>(bar.width) + 1;
    const long long cols = span / cells.minimum;
    if (cols <= 0) return bar;  // not even one cell fits: keep the last cells

    // Cells stretch to fill a row, but a single row keeps its fixed width.
    TabBarGeometry measured = bar;
    measured.unitW = Saturate(span / cols - 1);
    measured.unitH = kTabHeight;
    if (GetTabPos(measured, tabCount).y == 1) measured.unitW = cells.single;
    const long long lastTop = GetTabPos(measured, tabCount).y;
    const long long height = lastTop + kTabHeight + (bar.view == TabBarView::Top ? 1 : 0);
    measured.height = Saturate(height);
    return measured;
}

Box TabCellRect(const TabBarGeometry& bar, int position) {
    const Point cell = GetTabPos(bar, position);
    int width = bar.unitW;
    const bool severalRows = bar.height > static_cast<long long>(bar.unitH) + 2;
    const bool lastInRow = static_cast<long long>(cell.x) + bar.unitW + TabColumns(bar) > bar.width;
    if (IsHorizontal(bar.view) && severalRows && lastInRow)
        width = Saturate(static_cast<long long>(bar.width) - cell.x);
    return {cell.x, cell.y, std::max(width, 0), std::max(bar.unitH, 0)};
}

Box TabTextRect(const TabBarGeometry& bar, int position) {
    const Point cell = GetTabPos(bar, position);
    // From 2 pixels inside the left edge to 4 inside the unstretched right edge.
    return {cell.x + 2, cell.y, std::max(bar.unitW - 6, 0), std::max(bar.unitH, 0)};
}

std::vector<int> TabSeparatorRows(const TabBarGeometry& bar) {
    std::vector<int> rows;
    if (!IsHorizontal(bar.view)) return rows;
    const long long pitch = std::max(static_cast<long long>(bar.unitH) + 1, 1LL);
    for (long long y = 0; y < bar.height; y += pitch) rows.push_back(static_cast<int>(y));
    return rows;
}

Box TabDropMarker(const TabBarGeometry& bar, int position) {
    const Point cell = GetTabPos(bar, position);
    if (IsHorizontal(bar.view)) return {cell.x, cell.y, 2, std::max(bar.unitH, 0)};
    return {cell.x, cell.y, std::max(bar.unitW, 0), 2};
}

}  // namespace mivra
