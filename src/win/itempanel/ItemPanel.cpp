#include "itempanel/ItemPanel.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "base/Gdi.h"
#include "base/LeaveTracker.h"
#include "items/ItemSort.h"
#include "items/StartRules.h"
#include "items/SystemIcons.h"
#include "layout/NineSlice.h"
#include "layout/Reorder.h"
#include "main/PanelLook.h"

namespace mivra::win {
namespace {

constexpr wchar_t kClassName[] = L"MivraItemPanel";
constexpr int kUnknownIcon = -2;
constexpr int kPendingIcon = -3;
constexpr UINT kLookUpIconsMessage = WM_APP + 1;
// Icon look-ups run in slices this long, so that the panel stays responsive.
constexpr DWORD kLookUpSliceMs = 15;

IconSize IconSizeOf(int pixels) {
    return pixels >= 48 ? IconSize::Large48 : pixels >= 32 ? IconSize::Medium32 : IconSize::Small16;
}

}  // namespace

ItemPanel::ItemPanel(const PanelContext& context, ItemPanelEvents& events, SearchList* results)
    : context_(context),
      events_(events),
      results_(results),
      thumbWindow_(context.look, [this](int top) { OnThumbDragged(top); }) {}

bool ItemPanel::Create(HWND parent) {
    return CreateChild(context_.instance, kClassName, parent, WS_CLIPCHILDREN) &&
           thumbWindow_.Create(context_.instance, hwnd());
}

std::vector<ItemRecord>* ItemPanel::Items() {
    if (results_) return &results_->items;
    auto& groups = context_.groups;
    if (group_ < 1 || group_ > static_cast<int>(groups.size())) return nullptr;
    return &groups[group_ - 1].Items();
}

int ItemPanel::Count() {
    const auto* items = Items();
    return items ? static_cast<int>(items->size()) : 0;
}

ItemViewOptions ItemPanel::Options() {
    const Configuration& config = context_.config;
    return {config.Int(Opt::ItemBarView), config.Int(Opt::ItemBarIcon), config.Int(Opt::ItemBarText), KeyMode()};
}

void ItemPanel::ShowGroup(int position) {
    group_ = position;
    hotItm_ = pressedItm_ = targetItm_ = 0;
    hotState_.reset();
    icons_.clear();
    pendingIcons_.clear();
    // A group selected again looks again for the targets it missed.
    context_.items.Icons().ForgetMissing();
    events_.TipChanged(hwnd(), L"");
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
    LookUpIconsLater();
}

void ItemPanel::ItemsChanged(RedrawMode mode) {
    icons_.clear();
    pendingIcons_.clear();
    ReDraw(mode);
}

void ItemPanel::NoteRun(bool reordered) {
    lastRunTime_ = context_.items.TickCount();
    if (!reordered) return;
    icons_.clear();
    ReDraw(RedrawMode::ToTop);
}

void ItemPanel::EnsureCanvas(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (canvas_ && width == canvasWidth_ && height == canvasHeight_) return;
    UniqueGdiObject bitmap = CreateBitmapFor(WindowDc(hwnd()).get(), width, height);
    if (!bitmap) return;
    canvas_ = MemoryCanvas(std::move(bitmap));
    canvasWidth_ = width;
    canvasHeight_ = height;
    // Captions are drawn in one font and colour: set once, not for each
    // cell (selecting a font makes the system realise it again).
    if (HDC canvas = canvas_.dc()) {
        SelectObject(canvas, context_.look.font.get());
        SetBkMode(canvas, TRANSPARENT);
        SetTextColor(canvas, context_.look.itemFgColor);
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

void ItemPanel::LookUpIconsLater() {
    if (!pendingIcons_.empty() && !lookUpPosted_)
        lookUpPosted_ = PostMessageW(hwnd(), kLookUpIconsMessage, 0, 0) != FALSE;
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
        icons_[item - 1] = context_.items.IconIndexOf((*items)[item - 1]);
        DrawItem(item, item == hotItm_ && hotState_ ? *hotState_ : CellState::Normal);
    }
    pendingIcons_.erase(pendingIcons_.begin(), pendingIcons_.begin() + static_cast<std::ptrdiff_t>(done));
    if (!pendingIcons_.empty()) lookUpPosted_ = PostMessageW(hwnd(), kLookUpIconsMessage, 0, 0) != FALSE;
}

void ItemPanel::ReDraw(RedrawMode mode) {
    if (!hwnd()) return;
    RECT client{};
    GetClientRect(hwnd(), &client);
    grid_.innerWidth = client.right;
    grid_.innerHeight = client.bottom;
    options_ = Options();
    cell_ = ComputeCellSize(options_, grid_.innerWidth);
    grid_.cellW = std::max(cell_.width, 1);
    grid_.cellH = std::max(cell_.height, 1);
    if (mode == RedrawMode::ToTop) grid_.scrollRow = 0;
    hotState_.reset();
    EnsureCanvas(client.right, client.bottom);
    HDC canvas = canvas_.dc();
    if (!canvas) return;

    FillSolid(canvas, client, context_.look.item.FillColour());
    const int count = Count();
    redrawing_ = true;
    if (count > 0) {
        // Rows above the top are scrolled away: painting starts at the first visible one.
        const int first = std::clamp(grid_.scrollRow * grid_.Columns() + 1, 1, count);
        const int last = std::min(count, (grid_.scrollRow + grid_.innerHeight / grid_.cellH + 1) * grid_.Columns());
        DrawCells(first, last, CellState::Normal);
        // The first result is shown selected.
        if (KeyMode()) {
            hotItm_ = 1;
            DrawItem(1, CellState::Hover);
        }
    } else {
        const std::wstring hint = EmptyHint(KeyMode(), context_.config.Flag(Opt::CommandMode));
        RECT measure{0, 0, grid_.innerWidth, 0};
        DrawTextW(canvas, hint.c_str(), -1, &measure, DT_CALCRECT | DT_CENTER | DT_NOPREFIX);
        const int textHeight = measure.bottom - measure.top;
        RECT area{0, (grid_.innerHeight - textHeight) / 2, grid_.innerWidth, grid_.innerHeight};
        DrawTextW(canvas, hint.c_str(), -1, &area, DT_CENTER | DT_VCENTER | DT_WORD_ELLIPSIS | DT_NOPREFIX);
    }
    redrawing_ = false;

    if (!context_.config.Flag(Opt::DisplayScrollBar)) {
        thumb_.visible = false;
    } else {
        const ScrollThumb fitted = ThumbFor(grid_, count);
        if (mode == RedrawMode::ToTop) thumb_.top = 0;
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

void ItemPanel::DrawItem(int item, CellState state) {
    const int count = Count();
    if (item < 1 || item > count || !canvas_.dc()) return;
    DrawCells(item, item, state);
    if (item == hotItm_) hotState_ = state;
    if (redrawing_) return;
    const RECT area = ToRect(CellBox(item));
    InvalidateRect(hwnd(), &area, FALSE);
}

void ItemPanel::DrawCells(int first, int last, CellState state) {
    auto* items = Items();
    HDC canvas = canvas_.dc();
    if (!items || !canvas) return;
    const PanelLook& look = context_.look;
    SystemIcons& icons = context_.items.Icons();
    for (int i = std::max(first, 1); i <= std::min(last, static_cast<int>(items->size())); ++i) {
        const Box cell = CellBox(i);
        if (cell.bottom() <= 0 || cell.top >= grid_.innerHeight) continue;
        if (look.item) look.item.DrawSlices(canvas, ItemSlices(look.item.width(), look.item.height(), static_cast<int>(state), cell));
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
    HDC canvas = canvas_.dc();
    const int count = Count();
    const int dy = (oldScrollRow - grid_.scrollRow) * grid_.cellH;  // below 0: the content moves up
    const int height = grid_.innerHeight, width = grid_.innerWidth;
    if (!canvas || count == 0 || std::abs(dy) >= height) {
        ReDraw(RedrawMode::KeepScroll);
        return;
    }
    hotState_.reset();
    if (dy < 0)
        BitBlt(canvas, 0, 0, width, height + dy, canvas, 0, -dy, SRCCOPY);
    else
        BitBlt(canvas, 0, dy, width, height - dy, canvas, 0, 0, SRCCOPY);
    const Box band = dy < 0 ? Box{0, height + dy, width, -dy} : Box{0, 0, width, dy};
    FillSolid(canvas, ToRect(band), context_.look.item.FillColour());

    // The items whose cells reach into the uncovered band, and the one under the pointer.
    redrawing_ = true;
    const int columns = grid_.Columns();
    const int firstRow = grid_.scrollRow + std::max(0, band.top / grid_.cellH);
    const int lastRow = grid_.scrollRow + (band.bottom() - 1) / grid_.cellH;
    DrawCells(firstRow * columns + 1, (lastRow + 1) * columns, CellState::Normal);
    if (hotItm_ > 0) DrawItem(hotItm_, CellState::Normal);
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

void ItemPanel::ItemMouse(int kind, int button, int x, int y) {
    auto* items = Items();
    if (!items) return;
    const Configuration& config = context_.config;
    const int count = static_cast<int>(items->size());
    if (results_ && config.Flag(Opt::CommandMode)) {
        // In command mode the results are chosen with the keyboard alone: the
        // pointer moves the panel and opens the main menu, nothing else.
        if (kind == 1 && button == 1) events_.PanelDragged();
        if (kind == 2 && button == 2) events_.MainMenuRequested();
        return;
    }
    const int h = HitTestItem(grid_, count, x, y);

    if (h > count) {  // on no item
        if (kind == 1) {
            pressedItm_ = 0;
            if (button == 1) events_.PanelDragged();
        } else if (kind == 2) {
            DrawItem(pressedItm_, CellState::Normal);
            targetItm_ = 0;
            if (button == 2) events_.MainMenuRequested();
        } else {
            if (config.Flag(Opt::ItemHoverTips)) events_.CaptionChanged(L"");
            DrawItem(hotItm_, CellState::Normal);
            if (hotItm_ != 0) events_.TipChanged(hwnd(), L"");
            hotItm_ = 0;
        }
        return;
    }

    if (kind == 0) {
        // Resting on the same item repaints nothing.
        if (h == hotItm_ && button == 0 && hotState_ == CellState::Hover) return;
        if (hotItm_ > 0) DrawItem(hotItm_, CellState::Normal);
        if (h != hotItm_) events_.TipChanged(hwnd(), ItemTipText((*items)[h - 1]));
        hotItm_ = h;
        leave_.Track(hwnd());
        if (button == 0) {
            DrawItem(hotItm_, CellState::Hover);
            if (config.Flag(Opt::ItemHoverTips)) events_.CaptionChanged((*items)[h - 1].title);
        } else if (button == 1) {
            DrawItem(hotItm_, CellState::Pressed);
            if (!config.Flag(Opt::LockItems) && pressedItm_ > 0 && pressedItm_ != hotItm_) {
                DrawItem(hotItm_, CellState::Normal);
                const Box cell = CellBox(hotItm_);
                RECT marker{cell.left, cell.top, cell.left + 2, cell.bottom()};
                FillSolid(canvas_.dc(), marker, context_.look.itemFgColor);
                InvalidateRect(hwnd(), &marker, FALSE);
            }
        } else {
            DrawItem(hotItm_, CellState::Pressed);
        }
        return;
    }

    if (kind == 1) {
        hotItm_ = h;
        pressedItm_ = hotItm_;
        DrawItem(pressedItm_, CellState::Pressed);
        pressTime_ = context_.items.TickCount();
        return;
    }

    targetItm_ = hotItm_;
    if (button == 1) {
        const std::uint32_t now = context_.items.TickCount();
        if (!IsClick(now, pressTime_, lastRunTime_, pressedItm_, targetItm_)) {
            if (!config.Flag(Opt::LockItems) && pressedItm_ > 0 && pressedItm_ != targetItm_) {
                MoveBefore(*items, static_cast<size_t>(pressedItm_), static_cast<size_t>(targetItm_));
                if (results_) MoveBefore(results_->origins, static_cast<size_t>(pressedItm_), static_cast<size_t>(targetItm_));
                icons_.clear();
                ReDraw(RedrawMode::KeepScroll);
                events_.ItemsChanged();
            } else {
                DrawItem(targetItm_, CellState::Hover);
            }
        } else {
            DrawItem(targetItm_, CellState::Hover);
            if (!config.Flag(Opt::DoubleClick)) Run(ShowMode::Normal, L"open");
        }
    } else {
        DrawItem(targetItm_, CellState::Hover);
        ShowItemMenu();
    }
}

void ItemPanel::OnDoubleClick() {
    const Configuration& config = context_.config;
    if (pressedItm_ != 0) {
        if (config.Flag(Opt::DoubleClick)) {
            targetItm_ = pressedItm_;
            Run(ShowMode::Normal, L"open");
        }
    } else if (config.Flag(Opt::DoubleClickHide)) {
        events_.HideRequested(HideMode::OnRequest);
    }
}

void ItemPanel::ShowItemMenu() {
    auto* items = Items();
    if (!items || targetItm_ < 1 || targetItm_ > static_cast<int>(items->size())) return;
    if (!results_) return events_.ItemMenuRequested(static_cast<size_t>(group_), static_cast<size_t>(targetItm_));
    // A result's menu acts on the item it stands for, in its own group; then
    // the search ends as after a start.
    const ItemOrigin origin = results_->origins[targetItm_ - 1];
    if (origin.IsEmpty()) return;
    events_.ItemMenuRequested(origin.group, origin.item);
    events_.SearchResultStarted();
}

void ItemPanel::Run(ShowMode show, std::wstring_view verb) {
    auto* items = Items();
    if (!items || targetItm_ < 1 || targetItm_ > static_cast<int>(items->size())) return;
    if (!results_) {
        events_.GroupItemChosen(static_cast<size_t>(group_), static_cast<size_t>(targetItm_), show, verb);
        return;
    }
    if (const ItemOrigin origin = results_->origins[targetItm_ - 1]; !origin.IsEmpty()) {
        // A found item starts in its own group, which keeps its count.
        events_.GroupItemChosen(origin.group, origin.item, show, L"open");
    } else if (!RunCommandItem(show, verb)) {
        return;
    }
    events_.SearchResultStarted();
}

bool ItemPanel::RunCommandItem(ShowMode show, std::wstring_view verb) {
    // The result list is only shown while searching: the search box hides the panel its own way.
    class Steps final : public StartSteps {
    public:
        Steps(ItemPanel& panel, ItemRecord& item, ShowMode show, std::wstring_view verb)
            : panel_(panel), item_(item), show_(show), verb_(verb) {}
        void HidePanel() override { panel_.events_.HideRequested(HideMode::OnRequest); }
        bool Start() override {
            if (!panel_.context_.items.RunItem(item_, show_, verb_)) return false;
            panel_.lastRunTime_ = panel_.context_.items.TickCount();
            return true;
        }
        bool SortByCount() override {
            SortByLaunchCount(*panel_.results_);
            return true;
        }
        void Save() override { panel_.events_.ItemsChanged(); }

    private:
        ItemPanel& panel_;
        ItemRecord& item_;
        ShowMode show_;
        std::wstring_view verb_;
    } steps(*this, results_->items[targetItm_ - 1], show, verb);
    const Configuration& config = context_.config;
    return StartWithRules({config.Flag(Opt::ExecuteHide), true, config.Flag(Opt::SortByCount),
                           config.Flag(Opt::CommandMode)},
                          steps)
        .started;
}

void ItemPanel::KeyDown(ListKey key) {
    if (!results_) return;
    const int count = Count();
    if (key == ListKey::Enter) {
        targetItm_ = hotItm_;
        if (targetItm_ >= 1 && targetItm_ <= count) Run(ShowMode::Normal, L"open");
        return;
    }
    if (count == 0) return;
    // The selection stops at either end and does not scroll the panel.
    const int old = hotItm_;
    hotItm_ = std::clamp(hotItm_ + (key == ListKey::Down ? 1 : -1), 1, count);
    if (old != hotItm_) DrawItem(old, CellState::Normal);
    DrawItem(hotItm_, CellState::Hover);
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
            if (canvas_.dc())
                BitBlt(paint.dc(), area.left, area.top, area.right - area.left, area.bottom - area.top,
                       canvas_.dc(), area.left, area.top, SRCCOPY);
        }
        // Icons not yet known are looked up once what is known is on the screen.
        LookUpIconsLater();
        return 0;
    }
    case WM_PRINTCLIENT: {
        // Painted as part of its panel's picture (ComposedPaint).
        RECT client{};
        GetClientRect(hwnd(), &client);
        if (canvas_.dc())
            BitBlt(reinterpret_cast<HDC>(wParam), 0, 0, client.right, client.bottom, canvas_.dc(), 0, 0, SRCCOPY);
        LookUpIconsLater();
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
        leave_.Left();
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
