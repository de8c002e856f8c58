#pragma once
// The item panel's grid: cell size from the view options, positions, hit
// tests, scrolling by whole rows and the scroll thumb, and where icon and
// caption go inside a cell.

#include <cstdint>
#include <string>

#include "data/Group.h"
#include "layout/Geometry.h"

namespace mivra {

// How a cell is painted: the column of the cell picture it is drawn from.
enum class CellState : int { Normal = 0, Hover = 1, Pressed = 2 };  // Hover: also the keyboard selection

// What a full repaint does with the scroll position.
enum class RedrawMode { KeepScroll, ToTop };

// The three view options (ItemBarView, ItemBarIcon, ItemBarText).
struct ItemViewOptions {
    int view = 2;  // 0 one column, 1 two columns, 2 many columns
    int icon = 1;  // 0 large (48), 1 medium (32), 2 small (16)
    int text = 1;  // 0 no caption, 1 right of the icon, 2 below the icon
    bool keyMode = false;  // the search-result panel: fixed 30-pixel rows, 16-pixel icons
};

struct CellSize {
    int width = 0;
    int height = 0;
    int iconSize = 0;
    int smallestWidth = 0;  // of the many-columns view
    bool operator==(const CellSize&) const = default;
};

CellSize ComputeCellSize(const ItemViewOptions& options, int innerWidth);

struct ItemGrid {
    int innerWidth = 0;
    int innerHeight = 0;
    int cellW = 1;
    int cellH = 1;
    int scrollRow = 0;  // whole rows scrolled off the top

    // Whole part of innerWidth / cellW, at least 1.
    int Columns() const;
};

// Top-left corner of item `item` (1-based) with the scroll applied; (0, 0)
// for an item below 1.
Point GetItemPos(const ItemGrid& grid, int item);

// The bottom of the item's cell without the scroll: the content height when
// `item` is the last one.
int GetItemBottom(const ItemGrid& grid, int item);

// The item under a point, or count + 1 for none.
int HitTestItem(const ItemGrid& grid, int count, int x, int y);

// One row down (false: the last row is already fully visible) or up (false:
// already at the top).
bool ScrollDown(ItemGrid& grid, int count);
bool ScrollUp(ItemGrid& grid);

// Rows of content minus rows that fit; may be 0 or negative.
int MaxScroll(const ItemGrid& grid, int count);

struct ScrollThumb {
    bool visible = false;
    int top = 0;
    int height = 0;
    bool operator==(const ScrollThumb&) const = default;
};
inline constexpr int kThumbWidth = 12;

// The thumb for the content: visible only when the content is taller than
// the panel; height innerHeight² / contentHeight, at least 30, top placed by
// ScrollRow (at the top when MaxScroll is not positive).
ScrollThumb ThumbFor(const ItemGrid& grid, int count);

// The scroll row a dragged thumb stands for (halves to even).
int ScrollRowForThumb(const ItemGrid& grid, int count, int thumbTop, int thumbHeight);

enum class CaptionAlign { None, RightOfIcon, BelowIcon };

struct ItemPlacement {
    Point icon;  // top-left of the icon
    int iconSize = 0;
    Box caption;  // empty when there is no caption
    CaptionAlign align = CaptionAlign::None;
    bool operator==(const ItemPlacement&) const = default;
};

// Icon and caption inside the cell `cell` (halves round to the nearest pixel).
ItemPlacement PlaceItem(const ItemViewOptions& options, const CellSize& size, const Box& cell);

// The hint an empty panel shows (lines joined by CR LF).
std::wstring EmptyHint(bool keyMode, bool commandMode);

// The hover tip of an item: title, path with argument, and "启动次数 n";
// "空项目" for a blank item.
std::wstring ItemTipText(const ItemRecord& item);

// Press and release timing: a release counts as a click when it is on the
// pressed item, within 750 ms of the press and not within 500 ms of the
// panel's last start. Ticks are milliseconds and may wrap.
inline constexpr std::uint32_t kClickMaxMs = 750;
inline constexpr std::uint32_t kAfterRunQuietMs = 500;
bool IsClick(std::uint32_t now, std::uint32_t pressTime, std::uint32_t lastRunTime, int pressedItem, int releasedItem);

}  // namespace mivra
