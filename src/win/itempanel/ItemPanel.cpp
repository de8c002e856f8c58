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
constexpr int kPendingIcon = -3;
constexpr UINT kLookUpIconsMessage = WM_APP + 1;
// Icon look-ups run in slices this long, so that the panel stays responsive.
constexpr DWORD kLookUpSliceMs = 15;

RECT ToRect(const Box& box) { return {box.left, box.top, box.right(), box.bottom()}; }

IconSize IconSizeOf(int pixels) {
    return pixels >= 48 ? IconSize::Large48 : pixels >= 32 ? IconSize::Medium32 : IconSize::Small16;
}

}  // namespace

ItemPanel::ItemPanel(MainPanel& owner, SearchList* results)
    : owner_(owner), results_(results), thumbWindow_(owner.Look(), [this](int top) { OnThumbDragged(top); }) {}

ItemPanel::~ItemPanel() {
    if (hwnd()) DestroyWindow(hwnd());
}

bool ItemPanel::Create(HWND parent) {
    return CreateChild(owner_.Instance(), kClassName, parent, WS_CLIPCHILDREN) &&
           thumbWindow_.Create(owner_.Instance(), hwnd());
}

std::vector<ItemRecord>* ItemPanel::Items() {
    if (results_) return &results_->items;
    Group* group = owner_.CurrentGroup();
    return group ? &group->Items() : nullptr;
}

int ItemPanel::Count() {
    const auto* items = Items();
    return items ? static_cast<int>(items->size()) : 0;
}

ItemViewOptions ItemPanel::Options() {
    Configuration& config = owner_.Config();
    return {config.Int(L"ItemBarView"), config.Int(L"ItemBarIcon"), config.Int(L"ItemBarText"), KeyMode()};
}

void ItemPanel::ShowGroup() {
    hotItm_ = pressedItm_ = targetItm_ = 0;
    hotState_ = -1;
    icons_.clear();
    pendingIcons_.clear();
    // A group selected again looks again for the targets it missed.
    owner_.Host().Icons().ForgetMissing();
    owner_.SetTip(hwnd(), L"");
}

void ItemPanel::LookAgainForMissingIcons() {
    auto* items = Items();
    if (!items || icons_.size() != items->size()) return;
    for (int item = 1; item <= static_cast<int>(icons_.size()); ++item) {
        int& icon = icons_[item - 1];
        if (icon != SystemIcons::kNoIcon) continue;
        const Box cell = CellBox(item);
        if (cell.bottom() > 0 && cell.top < grid_.innerHeight) {
            icon = kPendingIcon;
            pendingIcons_.push_back(item);
        } else {
            icon = kUnknownIcon;
        }
    }
    if (!pendingIcons_.empty() && !lookUpPosted_)
        lookUpPosted_ = PostMessageW(hwnd(), kLookUpIconsMessage, 0, 0) != FALSE;
}

void ItemPanel::ItemsChanged() {
    icons_.clear();
    pendingIcons_.clear();
    ReDraw(0);
}

void ItemPanel::NoteRun(bool reordered) {
    lastRunTime_ = owner_.Host().TickCount();
    if (!reordered) return;
    icons_.clear();
    ReDraw(1);
}

void ItemPanel::EnsureCanvas(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (canvasDc_.get() && width == canvasWidth_ && height == canvasHeight_) return;
    UniqueGdiObject bitmap = CreateBitmapFor(WindowDc(hwnd()).get(), width, height);
    if (!bitmap) return;
    canvasDc_.reset();
    canvasBitmap_ = std::move(bitmap);
    canvasDc_ = BitmapDc(static_cast<HBITMAP>(canvasBitmap_.get()));
    canvasWidth_ = width;
    canvasHeight_ = height;
    // Captions are drawn in one font and colour: set once, not for each
    // cell (selecting a font makes the system realise it again).
    if (HDC canvas = canvasDc_.get()) {
        SelectObject(canvas, owner_.Look().font.get());
        SetBkMode(canvas, TRANSPARENT);
        SetTextColor(canvas, owner_.Look().itemFgColor);
    }
}

Box ItemPanel::CellBox(int item) const {
    const Point at = GetItemPos(grid_, item);
    return {at.x, at.y, grid_.cellW, grid_.cellH};
}

int ItemPanel::IconOf(int item) {
    auto* items = Items();
    if (!items) return SystemIcons::kNoIcon;
    if (icons_.size() != items->size()) {
        icons_.assign(items->size(), kUnknownIcon);
        pendingIcons_.clear();
    }
    int& icon = icons_[item - 1];
    // Looked up when the item is first drawn, not when it is added; the
    // cell is painted at once and its icon follows after the paint, so that
    // a slow look-up never holds the panel back.
    if (icon == kUnknownIcon) {
        icon = kPendingIcon;
        pendingIcons_.push_back(item);
    }
    return icon == kPendingIcon ? SystemIcons::kNoIcon : icon;
}

void ItemPanel::LookUpPendingIcons() {
    lookUpPosted_ = false;
    auto* items = Items();
    if (!items || icons_.size() != items->size()) {
        pendingIcons_.clear();
        return;
    }
    const DWORD start = GetTickCount();
    size_t done = 0;
    while (done < pendingIcons_.size() && GetTickCount() - start < kLookUpSliceMs) {
        const int item = pendingIcons_[done++];
        if (item < 1 || item > static_cast<int>(items->size()) || icons_[item - 1] != kPendingIcon) continue;
        icons_[item - 1] = owner_.Host().IconIndexOf((*items)[item - 1]);
        DrawItem(item, item == hotItm_ && hotState_ > 0 ? hotState_ : 0);
    }
    pendingIcons_.erase(pendingIcons_.begin(), pendingIcons_.begin() + static_cast<std::ptrdiff_t>(done));
    if (!pendingIcons_.empty()) lookUpPosted_ = PostMessageW(hwnd(), kLookUpIconsMessage, 0, 0) != FALSE;
}

void ItemPanel::ReDraw(int mode) {
    if (!hwnd()) return;
    RECT client{};
    GetClientRect(hwnd(), &client);
    grid_.innerWidth = client.right;
    grid_.innerHeight = client.bottom;
    options_ = Options();
    cell_ = ComputeCellSize(options_, grid_.innerWidth);
    grid_.cellW = std::max(cell_.width, 1);
    grid_.cellH = std::max(cell_.height, 1);
    if (mode == 1) grid_.scrollRow = 0;
    hotState_ = -1;
    EnsureCanvas(client.right, client.bottom);
    HDC canvas = canvasDc_.get();
    if (!canvas) return;

    const PanelLook& look = owner_.Look();
    FillSolid(canvas, client, look.item ? look.item.PixelAt(5, 5) : RGB(255, 255, 255));
    const int count = Count();
    redrawing_ = true;
    if (count > 0) {
        // Rows above the top are scrolled away: painting starts at the first visible one.
        const int first = std::clamp(grid_.scrollRow * grid_.Columns() + 1, 1, count);
        const int last = std::min(count, (grid_.scrollRow + grid_.innerHeight / grid_.cellH + 1) * grid_.Columns());
        DrawCells(first, last, 0);
        // The first result is shown selected.
        if (KeyMode()) {
            hotItm_ = 1;
            DrawItem(1, 1);
        }
    } else {
        const std::wstring hint = EmptyHint(KeyMode(), owner_.Config().Flag(L"CommandMode"));
        RECT measure{0, 0, grid_.innerWidth, 0};
        DrawTextW(canvas, hint.c_str(), -1, &measure, DT_CALCRECT | DT_CENTER | DT_NOPREFIX);
        const int textHeight = measure.bottom - measure.top;
        RECT area{0, (grid_.innerHeight - textHeight) / 2, grid_.innerWidth, grid_.innerHeight};
        DrawTextW(canvas, hint.c_str(), -1, &area, DT_CENTER | DT_VCENTER | DT_WORD_ELLIPSIS | DT_NOPREFIX);
    }
    redrawing_ = false;

    if (!owner_.Config().Flag(L"DisplayScrollBar")) {
        thumb_.visible = false;
    } else {
        const ScrollThumb fitted = ThumbFor(grid_, count);
        if (mode == 1) thumb_.top = 0;
        thumb_.visible = fitted.visible;
        thumb_.height = fitted.height;
        thumb_.top = std::clamp(thumb_.top, 0, std::max(0, grid_.innerHeight - thumb_.height));
    }
    PlaceThumb();
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void ItemPanel::PlaceThumb() {
    thumbWindow_.Place(thumb_.visible, Box{grid_.innerWidth - kThumbWidth, thumb_.top, kThumbWidth, thumb_.height});
}

void ItemPanel::DrawItem(int item, int state) {
    const int count = Count();
    if (item < 1 || item > count || !canvasDc_.get()) return;
    DrawCells(item, item, state);
    if (item == hotItm_) hotState_ = state;
    if (redrawing_) return;
    const RECT area = ToRect(CellBox(item));
    InvalidateRect(hwnd(), &area, FALSE);
}

void ItemPanel::DrawCells(int first, int last, int state) {
    auto* items = Items();
    HDC canvas = canvasDc_.get();
    if (!items || !canvas) return;
    const PanelLook& look = owner_.Look();
    SystemIcons& icons = owner_.Host().Icons();
    for (int i = std::max(first, 1); i <= std::min(last, static_cast<int>(items->size())); ++i) {
        const Box cell = CellBox(i);
        if (cell.bottom() <= 0 || cell.top >= grid_.innerHeight) continue;
        if (look.item) look.item.DrawSlices(canvas, ItemSlices(look.item.width(), look.item.height(), state, cell));
        const ItemPlacement place = PlaceItem(options_, cell_, cell);
        icons.Draw(IconOf(i), IconSizeOf(place.iconSize), canvas, place.icon.x, place.icon.y);
        if (place.align == CaptionAlign::None) continue;
        const std::wstring& title = (*items)[i - 1].title;
        RECT caption = ToRect(place.caption);
        // "&&" shows one ampersand, as the title rule for dropped files expects.
        const UINT flags = place.align == CaptionAlign::BelowIcon ? DT_SINGLELINE | DT_CENTER | DT_WORD_ELLIPSIS
                                                                  : DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS;
        DrawTextW(canvas, title.c_str(), static_cast<int>(title.size()), &caption, flags);
    }
}

void ItemPanel::SetScrollValue(int mode) {
    const int count = Count();
    const int oldRow = grid_.scrollRow;
    if (mode == 1) {
        if (!ScrollDown(grid_, count)) return;
    } else if (!ScrollUp(grid_)) {
        return;
    }
    const int maxScroll = MaxScroll(grid_, count);
    if (maxScroll > 0) thumb_.top = (grid_.innerHeight - thumb_.height) * grid_.scrollRow / maxScroll;
    ShiftCanvas(oldRow);
}

void ItemPanel::ShiftCanvas(int oldScrollRow) {
    HDC canvas = canvasDc_.get();
    const int count = Count();
    const int dy = (oldScrollRow - grid_.scrollRow) * grid_.cellH;  // below 0: the content moves up
    const int height = grid_.innerHeight, width = grid_.innerWidth;
    if (!canvas || count == 0 || std::abs(dy) >= height) {
        ReDraw(0);
        return;
    }
    hotState_ = -1;
    if (dy < 0)
        BitBlt(canvas, 0, 0, width, height + dy, canvas, 0, -dy, SRCCOPY);
    else
        BitBlt(canvas, 0, dy, width, height - dy, canvas, 0, 0, SRCCOPY);
    const Box band = dy < 0 ? Box{0, height + dy, width, -dy} : Box{0, 0, width, dy};
    const PanelLook& look = owner_.Look();
    FillSolid(canvas, ToRect(band), look.item ? look.item.PixelAt(5, 5) : RGB(255, 255, 255));

    // The items whose cells reach into the uncovered band, and the one under the pointer.
    redrawing_ = true;
    const int columns = grid_.Columns();
    const int firstRow = grid_.scrollRow + std::max(0, band.top / grid_.cellH);
    const int lastRow = grid_.scrollRow + (band.bottom() - 1) / grid_.cellH;
    DrawCells(firstRow * columns + 1, (lastRow + 1) * columns, 0);
    if (hotItm_ > 0) DrawItem(hotItm_, 0);
    redrawing_ = false;
    ScrollWindowEx(hwnd(), 0, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
    // The thumb paints itself again over whatever the scroll moved under it.
    InvalidateRect(thumbWindow_.hwnd(), nullptr, FALSE);
    if (hotItm_ > 0) {
        const RECT hot = ToRect(CellBox(hotItm_));
        InvalidateRect(hwnd(), &hot, FALSE);
    }
    PlaceThumb();
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
                FillSolid(canvasDc_.get(), marker, owner_.Look().itemFgColor);
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
        pressTime_ = owner_.Host().TickCount();
        return;
    }

    targetItm_ = hotItm_;
    if (button == 1) {
        const std::uint32_t now = owner_.Host().TickCount();
        if (!IsClick(now, pressTime_, lastRunTime_, pressedItm_, targetItm_)) {
            if (!config.Flag(L"LockItems") && pressedItm_ > 0 && pressedItm_ != targetItm_) {
                MoveBefore(*items, static_cast<size_t>(pressedItm_), static_cast<size_t>(targetItm_));
                if (results_) MoveBefore(results_->origins, static_cast<size_t>(pressedItm_), static_cast<size_t>(targetItm_));
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
    if (!results_) {
        owner_.RunGroupItem(static_cast<size_t>(owner_.CurrentTab()), static_cast<size_t>(targetItm_), show, verb);
        return;
    }
    if (const ItemOrigin origin = results_->origins[targetItm_ - 1]; !origin.IsEmpty()) {
        // A found item starts in its own group, which keeps its count.
        owner_.RunGroupItem(origin.group, origin.item, show, L"open");
    } else {
        // A command item made up from the query.
        Configuration& config = owner_.Config();
        if (config.Flag(L"ExecuteHide") && !owner_.SearchVisible()) owner_.HidePanel(0);
        if (!owner_.Host().RunItem((*items)[targetItm_ - 1], show, verb)) return;
        lastRunTime_ = owner_.Host().TickCount();
        if (config.Flag(L"SortByCount") && !config.Flag(L"CommandMode")) SortByLaunchCount(*results_);
        owner_.SaveData();
    }
    owner_.AfterSearchRun();
}

void ItemPanel::KeyDown(int code) {
    if (!results_) return;
    const int count = Count();
    if (code == VK_RETURN) {
        targetItm_ = hotItm_;
        if (targetItm_ >= 1 && targetItm_ <= count) Run(1, L"open");
        return;
    }
    if (count == 0 || (code != VK_UP && code != VK_DOWN)) return;
    // The selection stops at either end and does not scroll the panel.
    const int old = hotItm_;
    hotItm_ = std::clamp(hotItm_ + (code == VK_DOWN ? 1 : -1), 1, count);
    if (old != hotItm_) DrawItem(old, 0);
    DrawItem(hotItm_, 1);
}

void ItemPanel::OnThumbDragged(int top) {
    thumb_.top = std::clamp(top, 0, std::max(0, grid_.innerHeight - thumb_.height));
    PlaceThumb();
    const int row = std::max(0, ScrollRowForThumb(grid_, Count(), thumb_.top, thumb_.height));
    if (row == grid_.scrollRow) return;
    const int oldRow = grid_.scrollRow;
    grid_.scrollRow = row;
    ShiftCanvas(oldRow);
}

LRESULT ItemPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    const auto heldButton = [wParam] { return (wParam & MK_LBUTTON) ? 1 : (wParam & MK_RBUTTON) ? 2 : 0; };
    switch (message) {
    case WM_PAINT: {
        {
            PaintScope paint(hwnd());
            const RECT& area = paint.Area();
            if (canvasDc_.get())
                BitBlt(paint.dc(), area.left, area.top, area.right - area.left, area.bottom - area.top,
                       canvasDc_.get(), area.left, area.top, SRCCOPY);
        }
        // Icons not yet known are looked up once what is known is on the screen.
        if (!pendingIcons_.empty() && !lookUpPosted_)
            lookUpPosted_ = PostMessageW(hwnd(), kLookUpIconsMessage, 0, 0) != FALSE;
        return 0;
    }
    case kLookUpIconsMessage:
        LookUpPendingIcons();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        ItemMouse(0, heldButton(), x, y);
        return 0;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        if (GetCapture() != hwnd()) ItemMouse(0, 0, -1, -1);
        return 0;
    case WM_LBUTTONDOWN:
        SetCapture(hwnd());
        ItemMouse(1, 1, x, y);
        return 0;
    case WM_RBUTTONDOWN:
        ItemMouse(1, 2, x, y);
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd()) ReleaseCapture();
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
