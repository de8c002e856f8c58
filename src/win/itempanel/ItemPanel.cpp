#include "itempanel/ItemPanel.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "base/Gdi.h"
#include "items/ItemSort.h"
#include "items/SystemIcons.h"
#include "layout/NineSlice.h"
#include "layout/Reorder.h"
#include "main/MainPanel.h"

namespace mivra::win {
namespace {

constexpr wchar_t kClassName[] = L"MivraItemPanel";
constexpr int kUnknownIcon = -2;

RECT ToRect(const Box& box) { return {box.left, box.top, box.right(), box.bottom()}; }

IconSize IconSizeOf(int pixels) {
    return pixels >= 48 ? IconSize::Large48 : pixels >= 32 ? IconSize::Medium32 : IconSize::Small16;
}

std::uint32_t Now() { return GetTickCount(); }

}  // namespace

ItemPanel::~ItemPanel() {
    if (canvas_) {
        SelectObject(canvas_, canvasOldBitmap_);
        DeleteDC(canvas_);
    }
    if (hwnd()) DestroyWindow(hwnd());
}

bool ItemPanel::Create(HWND parent) { return CreateChild(owner_.Instance(), kClassName, parent); }

std::vector<ItemRecord>* ItemPanel::Items() {
    Group* group = owner_.CurrentGroup();
    return group ? &group->items : nullptr;
}

int ItemPanel::Count() {
    const auto* items = Items();
    return items ? static_cast<int>(items->size()) : 0;
}

ItemViewOptions ItemPanel::Options() {
    Configuration& config = owner_.Config();
    return {config.Int(L"ItemBarView"), config.Int(L"ItemBarIcon"), config.Int(L"ItemBarText"), false};
}

void ItemPanel::ShowGroup() {
    hotItm_ = pressedItm_ = targetItm_ = 0;
    hotState_ = -1;
    icons_.clear();
    owner_.SetTip(hwnd(), L"");
}

void ItemPanel::ItemsChanged() {
    icons_.clear();
    ReDraw(0);
}

void ItemPanel::EnsureCanvas(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (canvas_ && width == canvasWidth_ && height == canvasHeight_) return;
    if (!canvas_) {
        HDC screen = GetDC(hwnd());
        canvas_ = CreateCompatibleDC(screen);
        ReleaseDC(hwnd(), screen);
        if (!canvas_) return;
    }
    HDC screen = GetDC(hwnd());
    UniqueGdiObject bitmap(CreateCompatibleBitmap(screen, width, height));
    ReleaseDC(hwnd(), screen);
    if (!bitmap) return;
    HGDIOBJ previous = SelectObject(canvas_, bitmap.get());
    if (!canvasOldBitmap_) canvasOldBitmap_ = previous;
    canvasBitmap_ = std::move(bitmap);
    canvasWidth_ = width;
    canvasHeight_ = height;
}

Box ItemPanel::CellBox(int item) const {
    const Point at = GetItemPos(grid_, item);
    return {at.x, at.y, grid_.cellW, grid_.cellH};
}

int ItemPanel::IconOf(int item) {
    auto* items = Items();
    if (!items) return SystemIcons::kNoIcon;
    if (icons_.size() != items->size()) icons_.assign(items->size(), kUnknownIcon);
    int& icon = icons_[item - 1];
    // Looked up when the item is first drawn, not when it is added.
    if (icon == kUnknownIcon) icon = owner_.Host().IconIndexOf((*items)[item - 1]);
    return icon;
}

void ItemPanel::ReDraw(int mode) {
    if (!hwnd()) return;
    RECT client{};
    GetClientRect(hwnd(), &client);
    grid_.innerWidth = client.right;
    grid_.innerHeight = client.bottom;
    cell_ = ComputeCellSize(Options(), grid_.innerWidth);
    grid_.cellW = std::max(cell_.width, 1);
    grid_.cellH = std::max(cell_.height, 1);
    if (mode == 1) grid_.scrollRow = 0;
    hotState_ = -1;
    EnsureCanvas(client.right, client.bottom);
    if (!canvas_) return;

    const PanelLook& look = owner_.Look();
    FillSolid(canvas_, client, look.item ? look.item.PixelAt(5, 5) : RGB(255, 255, 255));
    const int count = Count();
    if (count > 0) {
        // Rows above the top are scrolled away: painting starts at the first visible one.
        const int first = std::clamp(grid_.scrollRow * grid_.Columns() + 1, 1, count);
        for (int i = first; i <= count; ++i) {
            if (GetItemPos(grid_, i).y > grid_.innerHeight) break;
            DrawItem(i, 0);
        }
    } else {
        const std::wstring hint = EmptyHint(false, owner_.Config().Flag(L"CommandMode"));
        SelectScope font(canvas_, look.font.get());
        SetBkMode(canvas_, TRANSPARENT);
        SetTextColor(canvas_, look.itemFgColor);
        RECT measure{0, 0, grid_.innerWidth, 0};
        DrawTextW(canvas_, hint.c_str(), -1, &measure, DT_CALCRECT | DT_CENTER | DT_NOPREFIX);
        const int textHeight = measure.bottom - measure.top;
        RECT area{0, (grid_.innerHeight - textHeight) / 2, grid_.innerWidth, grid_.innerHeight};
        DrawTextW(canvas_, hint.c_str(), -1, &area, DT_CENTER | DT_VCENTER | DT_WORD_ELLIPSIS | DT_NOPREFIX);
    }

    if (!owner_.Config().Flag(L"DisplayScrollBar")) {
        thumb_.visible = false;
    } else {
        const ScrollThumb fitted = ThumbFor(grid_, count);
        if (mode == 1) thumb_.top = 0;
        thumb_.visible = fitted.visible;
        thumb_.height = fitted.height;
        thumb_.top = std::clamp(thumb_.top, 0, std::max(0, grid_.innerHeight - thumb_.height));
        PaintThumb();
    }
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void ItemPanel::PaintThumb() {
    if (!thumb_.visible || !canvas_) return;
    const Picture& image = owner_.Look().item;
    if (!image) return;
    const Box box{grid_.innerWidth - kThumbWidth, thumb_.top, kThumbWidth, thumb_.height};
    const auto slices = ItemSlices(image.width(), image.height(), 2, box);
    image.DrawSlices(canvas_, slices);
}

void ItemPanel::DrawItem(int item, int state) {
    auto* items = Items();
    if (!items || item < 1 || item > static_cast<int>(items->size()) || !canvas_) return;
    const PanelLook& look = owner_.Look();
    const Box cell = CellBox(item);
    if (cell.bottom() <= 0 || cell.top >= grid_.innerHeight) return;
    if (look.item) {
        const auto slices = ItemSlices(look.item.width(), look.item.height(), state, cell);
        look.item.DrawSlices(canvas_, slices);
    }
    const ItemPlacement place = PlaceItem(Options(), cell_, cell);
    owner_.Host().Icons().Draw(IconOf(item), IconSizeOf(place.iconSize), canvas_, place.icon.x, place.icon.y);
    if (place.align != CaptionAlign::None) {
        const std::wstring& title = (*items)[item - 1].title;
        SelectScope font(canvas_, look.font.get());
        SetBkMode(canvas_, TRANSPARENT);
        SetTextColor(canvas_, look.itemFgColor);
        RECT caption = ToRect(place.caption);
        // "&&" shows one ampersand, as the title rule for dropped files expects.
        const UINT flags = place.align == CaptionAlign::BelowIcon ? DT_SINGLELINE | DT_CENTER | DT_WORD_ELLIPSIS
                                                                  : DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS;
        DrawTextW(canvas_, title.c_str(), static_cast<int>(title.size()), &caption, flags);
    }
    if (thumb_.visible && cell.right() > grid_.innerWidth - kThumbWidth) PaintThumb();
    if (item == hotItm_) hotState_ = state;
    const RECT area = ToRect(cell);
    InvalidateRect(hwnd(), &area, FALSE);
}

void ItemPanel::SetScrollValue(int mode) {
    const int count = Count();
    if (mode == 1) {
        if (!ScrollDown(grid_, count)) return;
    } else if (!ScrollUp(grid_)) {
        return;
    }
    const int maxScroll = MaxScroll(grid_, count);
    if (maxScroll > 0) thumb_.top = (grid_.innerHeight - thumb_.height) * grid_.scrollRow / maxScroll;
    ReDraw(0);
}

void ItemPanel::TrackLeave() {
    if (trackingLeave_) return;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
    trackingLeave_ = TrackMouseEvent(&track) != FALSE;
}

void ItemPanel::ItemMouse(int kind, int button, int x, int y) {
    auto* items = Items();
    if (!items) return;
    Configuration& config = owner_.Config();
    const int count = static_cast<int>(items->size());
    const int h = HitTestItem(grid_, count, x, y);

    if (h > count) {  // on no item
        if (kind == 1) {
            pressedItm_ = 0;
            if (button == 1) owner_.DragPanel();
        } else if (kind == 2) {
            DrawItem(pressedItm_, 0);
            targetItm_ = 0;
            // The panel's menu on empty space arrives with the main menu.
        } else {
            if (config.Flag(L"ItemHoverTips")) owner_.SetCaption(L"");
            DrawItem(hotItm_, 0);
            if (hotItm_ != 0) owner_.SetTip(hwnd(), L"");
            hotItm_ = 0;
        }
        return;
    }

    if (kind == 0) {
        // Resting on the same item repaints nothing.
        if (h == hotItm_ && button == 0 && hotState_ == 1) return;
        if (hotItm_ > 0) DrawItem(hotItm_, 0);
        if (h != hotItm_) owner_.SetTip(hwnd(), ItemTipText((*items)[h - 1]));
        hotItm_ = h;
        TrackLeave();
        if (button == 0) {
            DrawItem(hotItm_, 1);
            if (config.Flag(L"ItemHoverTips")) owner_.SetCaption((*items)[h - 1].title);
        } else if (button == 1) {
            DrawItem(hotItm_, 2);
            if (!config.Flag(L"LockItems") && pressedItm_ > 0 && pressedItm_ != hotItm_) {
                DrawItem(hotItm_, 0);
                const Box cell = CellBox(hotItm_);
                RECT marker{cell.left, cell.top, cell.left + 2, cell.bottom()};
                FillSolid(canvas_, marker, owner_.Look().itemFgColor);
                InvalidateRect(hwnd(), &marker, FALSE);
            }
        } else {
            DrawItem(hotItm_, 2);
        }
        return;
    }

    if (kind == 1) {
        hotItm_ = h;
        pressedItm_ = hotItm_;
        DrawItem(pressedItm_, 2);
        pressTime_ = Now();
        return;
    }

    targetItm_ = hotItm_;
    if (button == 1) {
        const std::uint32_t now = Now();
        if (!IsClick(now, pressTime_, lastRunTime_, pressedItm_, targetItm_)) {
            if (!config.Flag(L"LockItems") && pressedItm_ > 0 && pressedItm_ != targetItm_) {
                MoveBefore(*items, static_cast<size_t>(pressedItm_), static_cast<size_t>(targetItm_));
                icons_.clear();
                ReDraw(0);
                owner_.SaveData();
            } else {
                DrawItem(targetItm_, 1);
            }
        } else {
            DrawItem(targetItm_, 1);
            if (!config.Flag(L"DoubleClick")) Run(1, L"open");
        }
    } else {
        // The item menu arrives with the item commands.
        DrawItem(targetItm_, 1);
    }
}

void ItemPanel::OnDoubleClick() {
    Configuration& config = owner_.Config();
    if (pressedItm_ != 0) {
        if (config.Flag(L"DoubleClick")) {
            targetItm_ = pressedItm_;
            Run(1, L"open");
        }
    } else if (config.Flag(L"DoubleClickHide")) {
        owner_.HidePanel(0);
    }
}

void ItemPanel::Run(int show, std::wstring_view verb) {
    auto* items = Items();
    if (!items || targetItm_ < 1 || targetItm_ > static_cast<int>(items->size())) return;
    Configuration& config = owner_.Config();
    if (config.Flag(L"ExecuteHide") && !owner_.SearchVisible()) owner_.HidePanel(0);
    if (!owner_.Host().RunItem((*items)[targetItm_ - 1], show, verb)) return;
    lastRunTime_ = Now();
    if (config.Flag(L"SortByCount") && !config.Flag(L"CommandMode") && SortItems(*items, 3, true)) {
        icons_.clear();
        ReDraw(1);
    }
    owner_.SaveData();
}

void ItemPanel::OnThumbDrag(int y) {
    const int range = grid_.innerHeight - thumb_.height;
    thumb_.top = std::clamp(y - thumbGrabY_, 0, std::max(0, range));
    const int row = ScrollRowForThumb(grid_, Count(), thumb_.top, thumb_.height);
    if (row != grid_.scrollRow) grid_.scrollRow = std::max(0, row);
    ReDraw(0);
}

LRESULT ItemPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    const auto heldButton = [wParam] { return (wParam & MK_LBUTTON) ? 1 : (wParam & MK_RBUTTON) ? 2 : 0; };
    const Box thumbBox{grid_.innerWidth - kThumbWidth, thumb_.top, kThumbWidth, thumb_.height};
    switch (message) {
    case WM_PAINT: {
        PaintScope paint(hwnd());
        const RECT& area = paint.Area();
        if (canvas_)
            BitBlt(paint.dc(), area.left, area.top, area.right - area.left, area.bottom - area.top, canvas_,
                   area.left, area.top, SRCCOPY);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        if (draggingThumb_) {
            OnThumbDrag(y);
            return 0;
        }
        ItemMouse(0, heldButton(), x, y);
        return 0;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        if (!draggingThumb_ && GetCapture() != hwnd()) ItemMouse(0, 0, -1, -1);
        return 0;
    case WM_LBUTTONDOWN:
        if (thumb_.visible && thumbBox.Contains(x, y)) {
            draggingThumb_ = true;
            thumbGrabY_ = y - thumb_.top;
            SetCapture(hwnd());
            return 0;
        }
        SetCapture(hwnd());
        ItemMouse(1, 1, x, y);
        return 0;
    case WM_RBUTTONDOWN:
        ItemMouse(1, 2, x, y);
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd()) ReleaseCapture();
        if (std::exchange(draggingThumb_, false)) return 0;
        ItemMouse(2, 1, x, y);
        return 0;
    case WM_RBUTTONUP:
        ItemMouse(2, 2, x, y);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick();
        return 0;
    case WM_MOUSEWHEEL:
        SetScrollValue(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? 0 : 1);
        return 0;
    }
    return Default(message, wParam, lParam);
}

}  // namespace mivra::win
