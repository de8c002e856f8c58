#include "groupbar/GroupBar.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "base/LineEdit.h"
#include "base/Gdi.h"
#include "base/LeaveTracker.h"
#include "layout/NineSlice.h"
#include "main/PanelLook.h"

namespace mivra::win {
namespace {

constexpr wchar_t kClassName[] = L"MivraGroupBar";
constexpr UINT_PTR kHoverTimer = 1;

// Menu identifiers start at 1: TrackPopupMenu answers 0 for no choice.
UINT MenuId(GroupCommand command) { return static_cast<UINT>(command) + 1; }

}  // namespace

bool GroupBar::Create(HWND parent) {
    return CreateChild(context_.instance, kClassName, parent, WS_CLIPCHILDREN);
}

// The rename box is made the first time a group is renamed.
bool GroupBar::EnsureRenameBox() {
    if (renameBox_) return true;
    renameBox_ =
        CreateLineEdit<&GroupBar::RenameBoxMessage>(this, hwnd(), context_.instance, context_.look.font.get());
    return renameBox_ != nullptr;
}

int GroupBar::TabCount() const { return static_cast<int>(context_.groups.size()); }

void GroupBar::Redraw() {
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void GroupBar::OnPaint() {
    PaintScope paint(hwnd());
    RECT client{};
    GetClientRect(hwnd(), &client);
    BufferedDc buffer(paint.dc(), paint.Area(), buffer_, client);
    Draw(buffer.dc(), client);
}

void GroupBar::Draw(HDC dc, const RECT& client) {
    const PanelLook& look = context_.look;
    const Picture& image = look.tab;
    const int count = TabCount();
    FillSolid(dc, client, image.FillColour());
    if (count < 1) return;

    const auto& groups = context_.groups;
    const int current = current_;
    SelectScope font(dc, look.font.get());
    SetBkMode(dc, TRANSPARENT);
    for (int position = 1; position <= count; ++position) {
        const int state = position == current ? 2 : (position == hoverTab_ && !dragging_) ? 1 : 0;
        const Box cell = TabCellRect(bar_, position);
        if (image) {
            const auto slices = TabSlices(image.width(), image.height(), state, cell);
            image.DrawSlices(dc, slices);
        }
        FrameSolid(dc, RECT{cell.left - 1, cell.top - 1, cell.right() + 1, cell.bottom() + 1}, look.tabBdColor);
        RECT text = ToRect(TabTextRect(bar_, position));
        const std::wstring& title = groups[position - 1].title;
        SetTextColor(dc, state == 2 ? look.tabFgColor2 : look.tabFgColor);
        DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &text,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS | DT_NOPREFIX);
    }
    for (int y : TabSeparatorRows(bar_)) FillSolid(dc, RECT{0, y, client.right, y + 1}, look.tabBdColor);
    if (bar_.view == TabBarView::Left) FillSolid(dc, RECT{client.right - 1, 0, client.right, client.bottom}, look.tabBdColor);
    if (bar_.view == TabBarView::Right) FillSolid(dc, RECT{0, 0, 1, client.bottom}, look.tabBdColor);

    // The insertion marker while a tab is dragged over another.
    if (dragging_ && downTab_ >= 1 && hoverTab_ >= 1 && hoverTab_ <= count && hoverTab_ != downTab_ &&
        hoverTab_ != current && !context_.config.Flag(Opt::LockTabs))
        FillSolid(dc, ToRect(TabDropMarker(bar_, hoverTab_)), look.tabFgColor);
}

void GroupBar::OnMouseMove(int x, int y, WPARAM buttons) {
    const int count = TabCount();
    const int p = HitTestTab(bar_, count, x, y);
    const int old = hoverTab_;
    if (p > count) {
        hoverTab_ = 0;
    } else {
        hoverTab_ = p;
        leave_.Track(hwnd());
        if (!(buttons & (MK_LBUTTON | MK_RBUTTON)) && context_.config.Flag(Opt::TabHoverActivate) &&
            p != current_ && p != hoverCandidate_) {
            // Selected once the pointer has rested on the tab for the delay.
            hoverCandidate_ = p;
            GetCursorPos(&hoverPoint_);
            SetTimer(hwnd(), kHoverTimer, static_cast<UINT>(std::max(1, context_.config.Int(Opt::HoverDelay))),
                     nullptr);
        }
    }
    if (hoverTab_ != hoverCandidate_) {
        KillTimer(hwnd(), kHoverTimer);
        hoverCandidate_ = 0;
    }
    if (old != hoverTab_) Redraw();
}

void GroupBar::OnHoverTimer() {
    KillTimer(hwnd(), kHoverTimer);
    const int candidate = std::exchange(hoverCandidate_, 0);
    POINT now{};
    GetCursorPos(&now);
    const bool buttonHeld = (GetKeyState(VK_LBUTTON) | GetKeyState(VK_RBUTTON)) & 0x8000;
    if (candidate == hoverTab_ && now.x == hoverPoint_.x && now.y == hoverPoint_.y && !buttonHeld)
        events_.TabSelected(candidate);
}

void GroupBar::OnButtonDown(int x, int y, bool left) {
    const int count = TabCount();
    const int p = HitTestTab(bar_, count, x, y);
    if (p > count) {
        CommitRename();
        if (left) {
            downTab_ = 0;
            events_.PanelDragged();
        }
        return;
    }
    hoverTab_ = p;
    events_.TabSelected(p);
    if (left) {
        downTab_ = current_;
        dragging_ = true;
        SetCapture(hwnd());
    }
    Redraw();
}

void GroupBar::OnLeftButtonUp(int x, int y) {
    const bool wasDragging = std::exchange(dragging_, false);
    if (GetCapture() == hwnd()) ReleaseCapture();
    Redraw();
    const int count = TabCount();
    const int target = HitTestTab(bar_, count, x, y);
    if (!wasDragging || target > count || context_.config.Flag(Opt::LockTabs)) return;
    if (downTab_ < 1 || downTab_ == target) return;
    events_.TabMoved(downTab_, target);
}

void GroupBar::OnRightButtonUp(int x, int y) {
    const int count = TabCount();
    ShowGroupMenu(HitTestTab(bar_, count, x, y) <= count);
}

void GroupBar::ShowGroupMenu(bool onTab) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    const UINT onTabFlags = onTab ? MF_ENABLED : MF_GRAYED;
    AppendMenuW(menu.get(), MF_STRING, MenuId(GroupCommand::New), L"新建分组(&A)");
    AppendMenuW(menu.get(), MF_STRING | onTabFlags, MenuId(GroupCommand::Rename), L"重命名(&R)");
    AppendMenuW(menu.get(), MF_STRING | (onTab && TabCount() != 1 ? MF_ENABLED : MF_GRAYED),
                MenuId(GroupCommand::Delete), L"删除(&D)");
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, MenuId(GroupCommand::DeleteAll), L"删除全部分组");
    POINT at{};
    GetCursorPos(&at);
    events_.MenuShown(true);
    // A menu of a window that is not in the foreground does not close when clicked away from.
    SetForegroundWindow(GetAncestor(hwnd(), GA_ROOT));
    const UINT chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0,
                                       hwnd(), nullptr);
    events_.MenuShown(false);
    for (GroupCommand command :
         {GroupCommand::New, GroupCommand::Rename, GroupCommand::Delete, GroupCommand::DeleteAll})
        if (chosen == MenuId(command)) events_.GroupCommandChosen(command);
}

void GroupBar::OnDoubleClick() {
    events_.GroupCommandChosen(downTab_ < 1 ? GroupCommand::New : GroupCommand::Rename);
}

void GroupBar::BeginRename() {
    const int current = current_;
    if (current < 1 || current > TabCount() || !EnsureRenameBox()) return;
    const PanelLook& look = context_.look;
    const int lineHeight = LineHeight(renameBox_, look.font.get(), 17);
    const Point cell = GetTabPos(bar_, current);
    const COLORREF background = look.tab.FillColour(2 * look.tab.width() / 3 + 5, 5);
    renameBrush_ = CreateBrush(background);
    SetWindowTextW(renameBox_, context_.groups[current - 1].title.c_str());
    MoveWindow(renameBox_, cell.x + 2, cell.y + (bar_.unitH - lineHeight) / 2, bar_.unitW - 4, lineHeight, TRUE);
    SendMessageW(renameBox_, EM_SETSEL, 0, -1);
    renaming_ = true;
    ShowWindow(renameBox_, SW_SHOW);
    SetFocus(renameBox_);
}

void GroupBar::CancelRename() {
    if (!renaming_) return;
    renaming_ = false;  // before the box hides: losing the focus then commits nothing
    ShowWindow(renameBox_, SW_HIDE);
    Redraw();
}

void GroupBar::CommitRename() {
    if (!renaming_) return;
    renaming_ = false;
    const int length = GetWindowTextLengthW(renameBox_);
    std::wstring text(static_cast<size_t>(length), L'\0');
    GetWindowTextW(renameBox_, text.data(), length + 1);
    ShowWindow(renameBox_, SW_HIDE);
    events_.GroupTitleTyped(text);
    Redraw();
}

LRESULT GroupBar::RenameBoxMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE || wParam == VK_TAB) return DLGC_WANTALLKEYS;
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            CommitRename();
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            CancelRename();
            return 0;
        }
        if (wParam == VK_TAB) return 0;  // no tab in a title, and no group switch while renaming
        break;
    case WM_CHAR:
        if (wParam == L'\r' || wParam == 27 || wParam == L'\t') return 0;  // no beep
        break;
    case WM_KILLFOCUS:
        CommitRename();
        break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

LRESULT GroupBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_PRINTCLIENT: {
        // Painted as part of its panel's picture (ComposedPaint).
        RECT client{};
        GetClientRect(hwnd(), &client);
        Draw(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        OnMouseMove(x, y, wParam);
        return 0;
    case WM_MOUSELEAVE:
        leave_.Left();
        OnMouseMove(-1, -1, 0);
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown(x, y, true);
        return 0;
    case WM_RBUTTONDOWN:
        OnButtonDown(x, y, false);
        return 0;
    case WM_LBUTTONUP:
        OnLeftButtonUp(x, y);
        return 0;
    case WM_RBUTTONUP:
        OnRightButtonUp(x, y);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick();
        return 0;
    case WM_TIMER:
        if (wParam == kHoverTimer) OnHoverTimer();
        return 0;
    case WM_CAPTURECHANGED:
        dragging_ = false;
        return 0;
    case WM_CTLCOLOREDIT: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, context_.look.tabFgColor2);
        LOGBRUSH brush{};
        GetObjectW(renameBrush_.get(), sizeof brush, &brush);
        SetBkColor(dc, brush.lbColor);
        return reinterpret_cast<LRESULT>(renameBrush_.get());
    }
    }
    return Default(message, wParam, lParam);
}

}  // namespace mivra::win
