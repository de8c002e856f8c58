#include "layout/ItemGrid.h"

#include <algorithm>
#include <climits>

namespace mivra {
namespace {

constexpr int kIconSizes[3] = {48, 32, 16};
// Cell height by caption position (rows) and icon size (columns).
constexpr int kCellHeights[3][3] = {
    {68, 52, 36},  // no caption
    {62, 46, 30},  // caption right of the icon
    {88, 72, 56},  // caption below the icon
};
constexpr int kCaptionRoom = 80;  // extra smallest width for a caption right of the icon
constexpr int kSearchRowHeight = 30;
constexpr int kSearchIconSize = 16;
constexpr int kMinThumbHeight = 30;

int Saturate(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

long long FloorDiv(long long n, long long d) {
    long long q = n / d;
    if ((n % d != 0) && ((n < 0) != (d < 0))) --q;
    return q;
}

// Centring offset with halves rounded up: an odd leftover pixel goes to the
// left or top margin, the same way in every cell.
int Centre(int room, int size) { return Saturate(FloorDiv(static_cast<long long>(room) - size + 1, 2)); }

int OptionOr(int value, int fallback) { return (value >= 0 && value <= 2) ? value : fallback; }

struct Cell64 {
    long long x;
    long long y;
};

Cell64 CellOf(const ItemGrid& grid, int item) {
    if (item < 1) return {0, 0};
    const int columns = grid.Columns();
    const long long column = (item - 1) % columns;
    const long long row = (item - 1) / columns;
    return {column * grid.cellW, (row - grid.scrollRow) * static_cast<long long>(grid.cellH)};
}

// The cell's bottom with the scroll taken back out: rows down to and
// including the item's row.
long long ContentBottom(const ItemGrid& grid, int item) {
    const long long rows = item < 1 ? grid.scrollRow : (item - 1) / grid.Columns();
    return (rows + 1) * grid.cellH;
}

long long MaxScroll64(const ItemGrid& grid, int count) {
    if (grid.cellH <= 0) return 0;
    return FloorDiv(ContentBottom(grid, count), grid.cellH) - FloorDiv(grid.innerHeight, grid.cellH);
}

}  // namespace

CellSize ComputeCellSize(const ItemViewOptions& options, int innerWidth) {
    const int width = std::max(innerWidth, 0);
    if (options.keyMode)
        return {width, kSearchRowHeight, kSearchIconSize, kSearchRowHeight + kCaptionRoom};

    const int icon = OptionOr(options.icon, 1);
    const int text = OptionOr(options.text, 1);
    CellSize size;
    size.height = kCellHeights[text][icon];
    size.iconSize = kIconSizes[icon];
    size.smallestWidth = text == 1 ? size.height + kCaptionRoom : size.height;
    switch (OptionOr(options.view, 2)) {
        case 0:
            size.width = width;
            break;
        case 1:
            size.width = width / 2;
            break;
        default: {
            // As many columns as fit, stretched to share the width; a panel
            // narrower than one cell still gets a whole (clipped) cell.
            const int fit = width / size.smallestWidth;
            size.width = std::max(width / std::max(fit, 1), size.smallestWidth);
            break;
        }
    }
    return size;
}

int ItemGrid::Columns() const {
    if (cellW <= 0) return 1;
    return std::max(innerWidth / cellW, 1);
}

Point GetItemPos(const ItemGrid& grid, int item) {
    const Cell64 cell = CellOf(grid, item);
    return {Saturate(cell.x), Saturate(cell.y)};
}

int GetItemBottom(const ItemGrid& grid, int item) { return Saturate(ContentBottom(grid, item)); }

int HitTestItem(const ItemGrid& grid, int count, int x, int y) {
    const int none = count + 1;
    if (x < 0 || y < 0 || x > grid.innerWidth || y > grid.innerHeight) return none;
    if (count < 1 || grid.cellW <= 0 || grid.cellH <= 0) return none;
    // Cells do not overlap, so the cell under the point is found directly
    // rather than by scanning from the top.
    const long long contentY = y + static_cast<long long>(grid.scrollRow) * grid.cellH;
    if (contentY < 0) return none;
    const long long row = contentY / grid.cellH;
    const long long column = x / grid.cellW;
    if (row >= count || column >= grid.Columns()) return none;
    const long long item = row * grid.Columns() + column + 1;
    return item <= count ? static_cast<int>(item) : none;
}

bool ScrollDown(ItemGrid& grid, int count) {
    if (count < 1) return false;
    if (CellOf(grid, count).y + grid.cellH <= grid.innerHeight) return false;
    if (grid.scrollRow == INT_MAX) return false;
    ++grid.scrollRow;
    return true;
}

bool ScrollUp(ItemGrid& grid) {
    if (grid.scrollRow <= 0) return false;
    --grid.scrollRow;
    return true;
}

int MaxScroll(const ItemGrid& grid, int count) { return Saturate(MaxScroll64(grid, count)); }

ScrollThumb ThumbFor(const ItemGrid& grid, int count) {
    ScrollThumb thumb;
    const long long content = ContentBottom(grid, count);
    if (count < 1 || content <= 0 || grid.innerHeight >= content) return thumb;
    thumb.visible = true;
    const long long inner = grid.innerHeight;
    const long long height = std::max<long long>(inner * inner / content, kMinThumbHeight);
    thumb.height = Saturate(height);
    const long long travel = inner - height;
    const long long rows = MaxScroll64(grid, count);
    const long long top = rows > 0 ? travel * grid.scrollRow / rows : 0;
    thumb.top = Saturate(std::max(std::min(top, travel), 0LL));
    return thumb;
}

int ScrollRowForThumb(const ItemGrid& grid, int count, int thumbTop, int thumbHeight) {
    const long long travel = static_cast<long long>(grid.innerHeight) - thumbHeight;
    if (travel <= 0) return 0;
    // thumbTop / travel × rows, rounded exactly with halves to even.
    const long long numerator = static_cast<long long>(thumbTop) * MaxScroll(grid, count);
    long long quotient = FloorDiv(numerator, travel);
    const long long twiceRest = 2 * (numerator - quotient * travel);
    if (twiceRest > travel || (twiceRest == travel && quotient % 2 != 0)) ++quotient;
    return Saturate(quotient);
}

ItemPlacement PlaceItem(const ItemViewOptions& options, const CellSize& size, const Box& cell) {
    const int x = cell.left;
    const int y = cell.top;
    const int w = cell.width;
    const int h = cell.height;
    ItemPlacement placement;
    const auto rightOfIcon = [&](int iconSize) {
        placement.iconSize = iconSize;
        placement.icon = {x + Centre(h, iconSize), y + Centre(h, iconSize)};
        // From the end of the square icon area to 5 pixels short of the right edge.
        placement.caption = {x + h, y, std::max(w - 5 - h, 0), std::max(h, 0)};
        placement.align = CaptionAlign::RightOfIcon;
    };
    if (options.keyMode) {
        rightOfIcon(kSearchIconSize);
        return placement;
    }
    switch (OptionOr(options.text, 1)) {
        case 0:
            placement.iconSize = size.iconSize;
            placement.icon = {x + Centre(w, size.iconSize), y + Centre(h, size.iconSize)};
            break;
        case 2:
            placement.iconSize = size.iconSize;
            placement.icon = {x + Centre(w, size.iconSize), y + 9};
            // A 25-pixel band along the bottom, 4 pixels in from each side.
            placement.caption = {x + 4, y + h - 25, std::max(w - 8, 0), 25};
            placement.align = CaptionAlign::BelowIcon;
            break;
        default:
            rightOfIcon(size.iconSize);
            break;
    }
    return placement;
}

std::wstring EmptyHint(bool keyMode, bool commandMode) {
    std::wstring hint;
    if (keyMode) {
        hint = L"输入关键字开始搜索";
        if (!commandMode) hint += L"，ESC键退出搜索";
        hint += L"\r\n上下键选择，回车键运行\r\n";
    } else {
        hint = L"将文件拖入这里添加快捷项目\r\n在分组栏右键菜单中新建分组\r\n";
    }
    return hint + L"如果你觉得 Mivra 不错就介绍给朋友吧";
}

std::wstring ItemTipText(const ItemRecord& item) {
    std::wstring path = item.path;
    if (!item.argument.empty()) path += L" " + item.argument;
    const std::wstring count = L"启动次数 " + item.count;
    if (!item.title.empty() && !path.empty()) return item.title + L"\r\n" + path + L"\r\n" + count;
    if (!item.title.empty()) return item.title + L"\r\n" + count;
    if (!path.empty()) return path + L"\r\n" + count;
    return L"空项目";
}

bool IsClick(std::uint32_t now, std::uint32_t pressTime, std::uint32_t lastRunTime, int pressedItem, int releasedItem) {
    if (pressedItem < 1 || releasedItem != pressedItem) return false;
    // Unsigned differences stay right across the tick counter's wrap.
    if (static_cast<std::uint32_t>(now - pressTime) > kClickMaxMs) return false;
    // A last start of 0 means nothing was started yet; without this a click
    // in the first half second after the counter wraps would be swallowed.
    if (lastRunTime != 0 && static_cast<std::uint32_t>(now - lastRunTime) < kAfterRunQuietMs) return false;
    return true;
}

}  // namespace mivra
