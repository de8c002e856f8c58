#include "main/MainPanel.h"

#include <commctrl.h>
#include <dbt.h>
#include <shellapi.h>
#include <windowsx.h>

#include "app/HotKeyText.h"
#include "app/Messages.h"
#include "base/CommonControls.h"
#include "base/Gdi.h"
#include "base/System.h"
#include "groups/GroupCommands.h"
#include "itempanel/ItemPanel.h"
#include "items/ItemEdits.h"
#include "items/ItemSort.h"
#include "items/StartRules.h"
#include "app/PanelKeys.h"
#include "items/SystemIcons.h"
#include "layout/PanelBounds.h"
#include "layout/PanelLayout.h"
#include "layout/Reorder.h"
#include "text/TextCoder.h"

namespace mivra::win {
namespace {

constexpr UINT kPingMessage = WM_APP + 1;
constexpr UINT kShowShadowMessage = WM_APP + 2;
constexpr UINT_PTR kStoreBoundsTimer = 1;
constexpr UINT_PTR kIdleTimer = 2;
constexpr UINT_PTR kDockStepTimer = 3;
constexpr UINT_PTR kSlideTimer = 4;
constexpr UINT_PTR kSettledTimer = 5;
constexpr UINT kIdleTimerMs = 10 * 60 * 1000;
constexpr wchar_t kUnstorableItemsBalloon[] = L"以下文件的目标或参数含有无法保存的内容（引号后紧跟逗号等），未添加：";

}  // namespace

Box DefaultPanelBounds() {
    return DefaultBounds(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

MainPanel::MainPanel(HINSTANCE instance, PanelHost& host, const PanelLook& look)
    : instance_(instance),
      host_(host),
      look_(look),
      children_{instance, look, host.Config(), host.Groups(), host},
      title_(look),
      docking_(host.Config(), {[this] { ShowPanel(); }, [this](HideMode mode) { HidePanel(mode); }}),
      bounds_(host.Config()),
      tools_(instance, host, [this] { bounds_.Flush(); }) {}

MainPanel::~MainPanel() = default;

bool MainPanel::Create(const Box& bounds) {
    WNDCLASSEXW wc{};
    wc.style = CS_DBLCLKS;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
    wc.lpszClassName = kMainPanelClass;
    if (!RegisterClassOnce(instance_, wc)) return false;

    // The title and the z-order come from the options once they are loaded
    // (ApplyStoredOptions); until then the panel is hidden.
    if (!CreateAs(WS_EX_APPWINDOW, kMainPanelClass, kAppTitle, WS_POPUP | WS_CLIPCHILDREN, bounds.left,
                  bounds.top, bounds.width, bounds.height, nullptr, instance_))
        return false;
    title_.SetCaption(kAppTitle);
    bounds_.Attach(hwnd(), kStoreBoundsTimer);
    docking_.Attach(hwnd(), kDockStepTimer, kSlideTimer);
    tools_.Attach(hwnd(), kShutdownTimer);

    groupBar_ = MakeWindow<GroupBar>(children_, static_cast<GroupBarEvents&>(*this));
    itemPanel_ = MakeWindow<ItemPanel>(children_, static_cast<ItemPanelEvents&>(*this));
    return groupBar_->Create(hwnd()) && itemPanel_->Create(hwnd());
}

// The start-up finishes from the message loop, as soon as the panel is on
// the screen: a posted message comes before the first paint, so the panel
// appears with its group.
void MainPanel::StartPing() {
    pingArmed_ = true;
    PostMessageW(hwnd(), kPingMessage, 0, 0);
}

void MainPanel::ApplyStoredOptions() {
    title_.SetCaption(ConfiguredTitle());
    SetWindowTextW(hwnd(), title_.Caption().c_str());
    SetWindowPos(hwnd(), Config().Flag(Opt::TopMost) ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

std::wstring MainPanel::ConfiguredTitle() {
    return DecodeText(host_.CodePage(), Config().Text(Opt::Title));
}

bool MainPanel::GroupPainted(bool withIcons) const {
    if (!loaded_ || !IsWindowVisible(hwnd()) || !IsWindowVisible(itemPanel_->hwnd())) return false;
    for (HWND window : {hwnd(), groupBar_->hwnd(), itemPanel_->hwnd()})
        if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE)) return false;
    return !withIcons || !itemPanel_->IconsPending();
}

Group* MainPanel::CurrentGroup() {
    auto& groups = host_.Groups();
    if (!loaded_ || currentTab_ < 1 || currentTab_ > static_cast<int>(groups.size())) return nullptr;
    return &groups[currentTab_ - 1];
}

// The first tick after start-up: the data is loaded and the stored group
// selected while the panel is already on the screen.
void MainPanel::OnPing() {
    if (!std::exchange(pingArmed_, false)) return;
    host_.LoadData();
    auto& groups = host_.Groups();
    if (groups.empty()) AddGroup(groups, L"");
    loaded_ = true;
    int start = Config().Flag(Opt::ShowFirstGroup) ? 1 : Config().GetConfigInt(Opt::ActivatedTab, 1);
    if (start < 1 || start > static_cast<int>(groups.size())) start = 1;
    SelTab(start);
    ShowWindow(itemPanel_->hwnd(), SW_SHOWNA);
    // Command mode: the panel stays in search mode.
    if (Config().Flag(Opt::CommandMode) && !searchMode_) SwitchSearch();
    // LATER: the first quiet update check.
    SetTimer(hwnd(), kIdleTimer, kIdleTimerMs, nullptr);
    // A timer comes after the paint: what is not needed for the first group
    // waits until the group is on the screen.
    SetTimer(hwnd(), kSettledTimer, 1, nullptr);
}

// The first group is on the screen: the shadow, and what the program adds to
// the system (tray icon, application bar, hotkey, mouse hook).
void MainPanel::OnSettled() {
    KillTimer(hwnd(), kSettledTimer);
    if (!shadow_) {
        shadow_ = MakeWindow<ShadowWindow>(ShadowWindow::Resizing{
            [this] { return !Config().Flag(Opt::LockSize); },
            [this](bool resizing) { docking_.SetKeepShown(resizing); }});
        if (!shadow_->Create(instance_, hwnd())) shadow_.reset();  // a panel without a shadow still works
        if (shadow_ && IsWindowVisible(hwnd())) shadow_->Show(true);
    }
    host_.OnStartSettled();
}

void MainPanel::SelTab(int position) {
    if (SearchVisible() || !loaded_) return;
    if (position < 1 || position > static_cast<int>(host_.Groups().size())) return;
    groupBar_->CommitRename();
    currentTab_ = position;
    groupBar_->SetCurrentTab(position);
    itemPanel_->ShowGroup(position);
    FormResize();
}

void MainPanel::ClearSelection() {
    currentTab_ = 0;
    groupBar_->SetCurrentTab(0);
}

void MainPanel::FormResize() {
    if (host_.IsLocked() || !hwnd()) return;
    RECT client{};
    GetClientRect(hwnd(), &client);

    PanelLayoutInput input;
    input.width = client.right;
    input.height = client.bottom;
    input.border = look_.border;
    input.titleBarHeight = look_.titleBarHeight;
    input.updateBarHeight = kUpdateBarHeight;
    input.updateMode = updateMode_;
    input.searchVisible = SearchVisible();
    input.tabCount = static_cast<int>(host_.Groups().size());
    input.tabBar = groupBar_->Geometry();
    input.tabBar.view = TabBarViewOf(Config().Int(Opt::TabBarView));
    RECT barRect{};
    GetWindowRect(groupBar_->hwnd(), &barRect);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&barRect), 2);
    input.tabBarTop = barRect.top;
    const PanelLayoutResult layout = LayOutPanel(input);

    InvalidateRect(hwnd(), nullptr, FALSE);
    const bool showBar = loaded_ && layout.groupBar.has_value();
    if (layout.groupBar) {
        const Box& bar = *layout.groupBar;
        groupBar_->SetGeometry(layout.tabBar);
        MoveWindow(groupBar_->hwnd(), bar.left, bar.top, bar.width, bar.height, TRUE);
    }
    if (showBar != (IsWindowVisible(groupBar_->hwnd()) != FALSE))
        ShowWindow(groupBar_->hwnd(), showBar ? SW_SHOWNA : SW_HIDE);
    groupBar_->Redraw();
    if (layout.search && search_) {
        const Box& box = *layout.search;
        MoveWindow(search_->hwnd(), box.left, box.top, box.width, box.height, FALSE);
        search_->ReDraw();
    }
    if (layout.items && CurrentGroup()) {
        const Box& items = *layout.items;
        MoveWindow(itemPanel_->hwnd(), items.left, items.top, items.width, items.height, FALSE);
        itemPanel_->ReDraw(RedrawMode::ToTop);
    }
}

void MainPanel::ShowPanel() {
    if (Config().Flag(Opt::ShowFirstGroup) && !Config().Flag(Opt::CommandMode)) SelTab(1);
    docking_.Show();
}

void MainPanel::FullScreenChanged(bool appeared) {
    switch (docking_.FullScreen().OnFullScreen(appeared, Config().Flag(Opt::FullScreenHide), IsWindowVisible(hwnd()) != FALSE)) {
    case FullScreenHide::Action::Hide: ShowWindow(hwnd(), SW_HIDE); break;
    case FullScreenHide::Action::Show: ShowWindow(hwnd(), SW_SHOWNOACTIVATE); break;
    case FullScreenHide::Action::None: break;
    }
}

void MainPanel::ToggleByHotKey() {
    if (!IsWindowVisible(hwnd())) return ShowPanel();
    // A panel parked at an edge, or partly beyond one, comes out; a panel on the screen goes.
    if (Config().Flag(Opt::AutoHide) && !docking_.WhollyOnScreen()) return ShowPanel();
    HidePanel(HideMode::OnRequest);
}

void MainPanel::HidePanel(HideMode mode) {
    if (docking_.LockAutoHide()) return;
    if (!Config().Flag(Opt::CommandMode) && searchMode_) SwitchSearch();
    docking_.Hide(mode);
}

void MainPanel::Close() {
    if (hwnd()) DestroyWindow(hwnd());
}

void MainPanel::SetTip(HWND window, const std::wstring& text) {
    if (!tooltip_) {
        if (text.empty()) return;
        // Made when the first tip is wanted.
        EnsureCommonControls();
        tooltip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_,
                                       nullptr));
        if (!tooltip_) return;
    }
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window;
    SendMessageW(tooltip_.get(), TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&tool));
    if (text.empty()) return;
    SendMessageW(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, 512);
    GetClientRect(window, &tool.rect);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainPanel::SetCaption(const std::wstring& caption) {
    const std::wstring text = caption.empty() ? ConfiguredTitle() : caption;
    if (text == title_.Caption()) return;
    title_.SetCaption(text);
    RECT band{};
    GetClientRect(hwnd(), &band);
    band.bottom = look_.border + 30;
    InvalidateRect(hwnd(), &band, FALSE);
}

void MainPanel::ShowUpdateBar(std::wstring text) {
    updateText_ = std::move(text);
    updateMode_ = true;
    FormResize();
}

// --- Group commands -----------------------------------------------------------

void MainPanel::NewGroup() {
    AddGroup(host_.Groups(), L"");
    FormResize();
    SaveData();
}

void MainPanel::RenameGroup() { groupBar_->BeginRename(); }

void MainPanel::GroupCommandChosen(GroupCommand command) {
    switch (command) {
    case GroupCommand::New: NewGroup(); break;
    case GroupCommand::Rename: RenameGroup(); break;
    case GroupCommand::Delete: DeleteGroup(); break;
    case GroupCommand::DeleteAll: DeleteAllGroups(); break;
    }
}

void MainPanel::CommitGroupTitle(std::wstring_view typed) {
    if (!mivra::RenameGroup(host_.Groups(), currentTab_, typed)) return;
    groupBar_->Redraw();
    SaveData();
}

void MainPanel::DeleteGroup() {
    auto& groups = host_.Groups();
    const int position = currentTab_;
    if (groups.size() < 2 || position < 1 || position > static_cast<int>(groups.size())) return;
    if (!groups[position - 1].Items().empty()) {
        const std::wstring& defaultTitle = groups[DefaultGroupPosition(position) - 1].title;
        if (host_.ShowMessage(DeleteGroupQuestion(defaultTitle), MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) return;
    }
    const int next = mivra::DeleteGroup(groups, position);
    ClearSelection();
    SelTab(next);
    SaveData();
}

void MainPanel::DeleteAllGroups() {
    if (host_.ShowMessage(kDeleteAllGroupsQuestion, MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) return;
    mivra::DeleteAllGroups(host_.Groups());
    ClearSelection();
    SelTab(1);
    SaveData();
}

void MainPanel::MoveTab(int from, int to) {
    auto& groups = host_.Groups();
    const size_t moved = MoveBefore(groups, static_cast<size_t>(from), static_cast<size_t>(to));
    if (static_cast<int>(moved) == from) return;
    ClearSelection();
    SelTab(static_cast<int>(moved));
    SaveData();
}

void MainPanel::AddDroppedFiles(const std::vector<std::wstring>& paths) {
    Group* group = CurrentGroup();
    if (SearchVisible() || !group || paths.empty()) return;
    std::wstring refused;
    for (const std::wstring& path : paths)
        if (!host_.AddItem(group->Items(), DroppedFileTitle(path), path, path, L"", L"0")) refused += L"\r\n" + path;
    if (!refused.empty()) host_.ShowBalloon(kUnstorableItemsBalloon + refused);
    itemPanel_->ItemsChanged();
    SaveData();
}

// --- Search mode ------------------------------------------------------------

void MainPanel::SwitchSearch() {
    if (!search_) {
        search_ = MakeWindow<SearchBox>(children_, static_cast<SearchBoxEvents&>(*this));
        if (!search_->Create(hwnd())) {
            search_.reset();
            return;
        }
    }
    searchMode_ = !searchMode_;
    InvalidateRect(hwnd(), nullptr, FALSE);  // the switch's frame
    if (!searchMode_) {
        ShowWindow(search_->hwnd(), SW_HIDE);
        search_->SetText(L"");
        if (!loaded_) {
            FormResize();
            return;
        }
        ShowWindow(itemPanel_->hwnd(), SW_SHOWNA);
        SelTab(currentTab_ < 1 ? 1 : currentTab_);  // lays the panel out
        return;
    }
    ShowWindow(groupBar_->hwnd(), SW_HIDE);
    ShowWindow(itemPanel_->hwnd(), SW_HIDE);
    ShowWindow(search_->hwnd(), SW_SHOWNA);
    FormResize();
    if (IsWindowVisible(hwnd())) search_->Focus();
}

void MainPanel::SaveData() {
    // Every change to the groups ends in a save: the search keys are looked at again.
    if (search_) search_->GroupsChanged();
    host_.SaveData();
}

void MainPanel::RunGroupItem(size_t group, size_t item, ShowMode show, std::wstring_view verb) {
    auto& groups = host_.Groups();
    if (group < 1 || group > groups.size() || item < 1 || item > groups[group - 1].Items().size()) return;
    class Steps final : public StartSteps {
    public:
        Steps(MainPanel& panel, size_t group, size_t item, ShowMode show, std::wstring_view verb)
            : panel_(panel), group_(group), items_(panel.host_.Groups()[group - 1].Items()), item_(item),
              show_(show), verb_(verb) {}
        void HidePanel() override { panel_.HidePanel(HideMode::OnRequest); }
        bool Start() override { return panel_.host_.RunItem(items_[item_ - 1], show_, verb_); }
        bool SortByCount() override { return sorted_ = SortItems(items_, SortMode::ByCount, true); }
        void Save() override {
            // The group's own panel hears of the start first: its click timing, its new order.
            if (static_cast<int>(group_) == panel_.currentTab_) panel_.itemPanel_->NoteRun(sorted_ && !panel_.searchMode_);
            panel_.SaveData();
        }

    private:
        MainPanel& panel_;
        size_t group_;
        std::vector<ItemRecord>& items_;
        size_t item_;
        ShowMode show_;
        std::wstring_view verb_;
        bool sorted_ = false;
    } steps(*this, group, item, show, verb);
    const Configuration& config = Config();
    StartWithRules({config.Flag(Opt::ExecuteHide), searchMode_, config.Flag(Opt::SortByCount),
                    config.Flag(Opt::CommandMode)},
                   steps);
}

void MainPanel::AfterSearchRun() {
    if (!search_) return;
    if (Config().Flag(Opt::CommandMode)) {
        search_->SetText(L"");
        if (Config().Flag(Opt::ExecuteHide2)) HidePanel(HideMode::OnRequest);
    } else {
        if (searchMode_) SwitchSearch();
        if (Config().Flag(Opt::ExecuteHide)) HidePanel(HideMode::OnRequest);
    }
}

bool MainPanel::KeyDown(UINT code) {
    unsigned modifiers = kNoModifier;
    if (GetKeyState(VK_SHIFT) < 0) modifiers |= kShift;
    if (GetKeyState(VK_CONTROL) < 0) modifiers |= kCtrl;
    if (GetKeyState(VK_MENU) < 0) modifiers |= kAlt;
    const int groupCount = static_cast<int>(host_.Groups().size());
    switch (PanelKeyFor(code, modifiers)) {
    case PanelKey::Escape:
        if (!searchMode_) {
            HidePanel(HideMode::OnRequest);
        } else if (Config().Flag(Opt::CommandMode)) {
            HidePanel(HideMode::OnRequest);
            search_->SetText(L"");
        } else {
            SwitchSearch();
        }
        return true;
    case PanelKey::NextGroup:
        if (groupCount > 0) SelTab(currentTab_ >= groupCount ? 1 : currentTab_ + 1);
        return true;
    case PanelKey::PreviousGroup:
        if (groupCount > 0) SelTab(currentTab_ <= 1 ? groupCount : currentTab_ - 1);
        return true;
    case PanelKey::Memo:
        tools_.Open(ToolMode::Memo);
        return true;
    case PanelKey::None:
        break;
    }
    return false;
}

bool MainPanel::OnChar(wchar_t character) {
    if (Config().Flag(Opt::CommandMode) || groupBar_->Renaming() || searchMode_) return false;
    if (!StartsSearch(character)) return false;
    SwitchSearch();
    if (search_) search_->SetText(std::wstring_view(&character, 1));
    return true;
}

bool MainPanel::PreviewMessage(const MSG& msg) {
    if (editor_ && editor_->PreviewMessage(msg)) return true;
    if (tools_.PreviewMessage(msg)) return true;
    const bool key = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    if ((!key && msg.message != WM_CHAR) || !hwnd()) return false;
    if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return false;
    // The rename box keeps its keys: Enter, Escape and Tab end or cancel the rename there.
    if (groupBar_->Renaming()) return false;
    if (key) return KeyDown(static_cast<UINT>(msg.wParam));
    // Typed into the query, a character is the query's.
    if (search_ && (msg.hwnd == search_->QueryWindow())) return false;
    return OnChar(static_cast<wchar_t>(msg.wParam));
}

// --- Messages -----------------------------------------------------------------

TitleBarState MainPanel::TitleState() const {
    TitleBarState state;
    state.displayLogo = host_.Config().Flag(Opt::DisplayLogo);
    state.displaySearchSwitch = host_.Config().Flag(Opt::DisplaySearchSwitch);
    state.searchMode = SearchVisible();
    state.updateMode = updateMode_;
    state.updateText = updateText_;
    state.hot = hot_;
    state.pressed = pressed_;
    return state;
}

void MainPanel::OnPaint() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    const auto paintTitle = [&](HDC dc, const RECT&) { title_.Paint(dc, client.right, client.bottom, TitleState()); };
    // What was summoned comes first: the panel and its parts in one picture
    // now, and the shadow with the next message.
    const bool summoned = std::exchange(shadowPending_, false);
    if (!summoned || !composed_.Paint(hwnd(), buffer_, paintTitle)) {
        {
            PaintScope paint(hwnd());
            BufferedDc buffer(paint.dc(), paint.Area(), buffer_, client);
            paintTitle(buffer.dc(), client);
        }
        if (summoned) RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    if (summoned) PostMessageW(hwnd(), kShowShadowMessage, 0, 0);
}

void MainPanel::OnMouse(UINT message, int x, int y) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    const bool searchSwitch = Config().Flag(Opt::DisplaySearchSwitch);
    const TitleButton hit = title_.HitTest(x, y, client.right, searchSwitch);
    const TitleButton oldHot = hot_, oldPressed = pressed_;
    switch (message) {
    case WM_MOUSEMOVE:
        hot_ = hit;
        leave_.Track(hwnd());
        break;
    case WM_MOUSELEAVE:
        leave_.Left();
        hot_ = TitleButton::None;
        break;
    case WM_LBUTTONDOWN:
        if (updateMode_ && title_.UpdateCloseBox(client.right).Contains(x, y)) {
            updateMode_ = false;
            disableUpdate_ = true;
            FormResize();
        } else if (updateMode_ && title_.UpdateTextBox(client.right).Contains(x, y)) {
            // LATER: taking the update (the update check).
        } else if (hit == TitleButton::Search) {
            SwitchSearch();
        } else if (hit != TitleButton::None) {
            pressed_ = hit;
            SetCapture(hwnd());
        } else {
            docking_.Drag();
        }
        break;
    case WM_LBUTTONUP: {
        const TitleButton released = pressed_;
        pressed_ = TitleButton::None;
        if (GetCapture() == hwnd()) ReleaseCapture();
        if (released != TitleButton::None && released == hit) {
            InvalidateRect(hwnd(), nullptr, FALSE);
            OnButtonReleased(released);
            return;
        }
        break;
    }
    }
    if (hot_ != oldHot || pressed_ != oldPressed) {
        for (TitleButton button : {oldHot, hot_, oldPressed, pressed_}) {
            const RECT area = ToRect(title_.ButtonBox(button, client.right, searchSwitch));
            InvalidateRect(hwnd(), &area, FALSE);
        }
    }
}

void MainPanel::OnButtonReleased(TitleButton button) {
    switch (button) {
    case TitleButton::Menu:
        ShowMainMenu(MainMenuForm::Panel);
        break;
    case TitleButton::Minimize:
        ShowWindow(hwnd(), SW_HIDE);
        break;
    case TitleButton::Quit:
        if (Config().Flag(Opt::CloseToTray))
            ShowWindow(hwnd(), SW_HIDE);
        else
            Quit();
        break;
    default:
        break;
    }
}

void MainPanel::OnDropFiles(HDROP drop) {
    std::vector<std::wstring> paths;
    if (!SearchVisible()) {
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            // The whole path, however long: a cut path would name another file.
            std::wstring path(DragQueryFileW(drop, i, nullptr, 0), L'\0');
            DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
            if (!path.empty()) paths.push_back(std::move(path));
        }
    }
    DragFinish(drop);
    AddDroppedFiles(paths);
}

void MainPanel::OnMouseWheel(int delta) {
    if (searchMode_) {
        search_->SetScrollValue(delta > 0 ? 0 : 1);
        return;
    }
    if (!CurrentGroup()) return;
    itemPanel_->SetScrollValue(delta > 0 ? 0 : 1);
}

void MainPanel::LookAgainForMissingIcons() {
    host_.Icons().ForgetMissing();
    itemPanel_->LookAgainForMissingIcons();
}


LRESULT MainPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A registered message has no fixed number for a case label.
    if (message == taskbarCreated_ && message != 0) {
        host_.OnTaskbarCreated();
        return 0;
    }
    switch (message) {
    // The application's messages.
    case kShowPanelMessage:
        host_.OnHandOver();
        return 1;
    case kTrayCallbackMessage:
        host_.OnTrayCallback(lParam);
        return 0;
    case WM_HOTKEY:
        host_.OnHotKey(static_cast<int>(wParam));
        return 0;
    case kMouseGestureMessage:
        host_.OnHotKey(kHotKeyId);
        return 0;
    case kAppBarCallbackMessage:
        host_.OnAppBarCallback(wParam, lParam);
        return 0;
    case WM_DISPLAYCHANGE:
        host_.OnDisplayChange();
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) docking_.Deactivated(reinterpret_cast<HWND>(lParam));
        break;
    case kPingMessage:
        OnPing();
        return 0;
    case kShowShadowMessage:
        if (shadow_ && IsWindowVisible(hwnd())) shadow_->Show(true);
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SHOWWINDOW:
        docking_.Shown(wParam != 0);
        if (wParam) LookAgainForMissingIcons();
        // Coming back, the shadow waits until the panel is painted (OnPaint).
        shadowPending_ = wParam && shadow_;
        if (shadow_ && !wParam) shadow_->Show(false);
        break;
    case WM_DEVICECHANGE:
        // A drive came or went: targets that were missing may be there now.
        if (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVNODES_CHANGED) LookAgainForMissingIcons();
        return TRUE;
    case WM_SIZE:
        FormResize();
        if (shadow_) shadow_->Follow();
        bounds_.Moved();
        return 0;
    case WM_MOVE:
        if (shadow_) shadow_->Follow();
        bounds_.Moved();
        return 0;
    case WM_ENTERSIZEMOVE:
        bounds_.GestureBegan();
        return 0;
    case WM_EXITSIZEMOVE:
        bounds_.GestureEnded();
        return 0;
    case WM_TIMER:
        if (wParam == kStoreBoundsTimer) bounds_.OnTimer();
        if (wParam == kIdleTimer) host_.OnIdleTick();
        if (wParam == kSettledTimer) OnSettled();
        docking_.OnTimer(wParam);
        tools_.OnTimer(wParam);
        return 0;
    case WM_ENDSESSION:
        if (wParam) bounds_.Flush();
        return 0;
    case WM_DESTROY:
        bounds_.Flush();
        tools_.CloseQuietly();
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {160, 110};
        info->ptMaxTrackSize = {GetSystemMetrics(SM_CXSCREEN) - 40, GetSystemMetrics(SM_CYSCREEN) - 40};
        return 0;
    }
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        OnMouse(message, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (KeyDown(static_cast<UINT>(wParam))) return 0;
        break;
    case WM_CHAR:
        OnChar(static_cast<wchar_t>(wParam));
        return 0;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_CLOSE:
        Quit();
        return 0;
    case WM_NCDESTROY:
        host_.OnPanelDestroyed();
        return 0;
    }
    return Default(message, wParam, lParam);
}

}  // namespace mivra::win
