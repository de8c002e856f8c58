#pragma once
// frmMain: the borderless main panel. It paints the title bar itself and
// carries the group bar and the item panel of the selected group; it lays
// them out, selects groups, runs the group commands and routes what the
// system sends: its own messages (dropped files, the wheel, moves and sizes)
// it handles, the application's (a second start's hand-over, the tray) go
// to the host. The children report to it through their events interfaces;
// showing and hiding is PanelDocking's.

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ComposedPaint.h"
#include "base/Gdi.h"
#include "base/LeaveTracker.h"
#include "base/Unique.h"
#include "base/Window.h"
#include "editor/ItemEditor.h"
#include "groupbar/GroupBar.h"
#include "layout/Geometry.h"
#include "layout/PanelDocking.h"
#include "main/BoundsStore.h"
#include "main/PanelDocking.h"
#include "main/PanelHost.h"
#include "main/PanelLook.h"
#include "main/TitleBar.h"
#include "items/ItemEditorRules.h"
#include "items/ItemSort.h"
#include "menus/ItemMenuModel.h"
#include "menus/MainMenuModel.h"
#include "menus/PopupMenu.h"
#include "panel/PanelContext.h"
#include "search/SearchBox.h"
#include "shadow/ShadowWindow.h"
#include "tools/Tools.h"

namespace mivra::win {

class ItemPanel;

class MainPanel final : public Window<MainPanel>,
                        private GroupBarEvents,
                        private SearchBoxEvents,
                        private ItemEditorEvents {
public:
    MainPanel(HINSTANCE instance, PanelHost& host, const PanelLook& look);
    ~MainPanel();

    // Creates the window hidden, at `bounds` (pixels), with its children.
    bool Create(const Box& bounds);
    // Takes the title and the z-order from the loaded options.
    void ApplyStoredOptions();
    // Arms the one-shot start timer that loads the data.
    void StartPing();
    void ShowPanel();
    void HidePanel(HideMode mode);
    // The hotkey and the mouse gestures: shows a hidden or parked panel, hides a shown one.
    void ToggleByHotKey();
    // A full-screen program appeared or went away (the application bar, or another source).
    void FullScreenChanged(bool appeared);
    // The displays changed: a parked panel is parked again at its edge, a
    // panel whose monitor went away comes back onto one.
    void DisplayChanged() { docking_.DisplayChanged(); }
    // Whether the panel is parked at an edge (and which).
    Edges Parked() const { return docking_.Parked(); }
    bool AutoHideLocked() const { return docking_.LockAutoHide(); }
    void Close();

    bool Loaded() const { return loaded_; }
    // The group is on the screen: the panel, the group bar and the item
    // panel have nothing left to paint; `withIcons`, and no icon is pending.
    bool GroupPainted(bool withIcons) const;
    int CurrentTab() const { return currentTab_; }
    // The selected group; nullptr before the data is loaded.
    Group* CurrentGroup();
    bool SearchVisible() const { return searchMode_; }
    // The search box; nullptr until search mode is first entered.
    SearchBox* Search() { return search_.get(); }
    // Search mode on or off: the search box takes the content area, or the
    // group bar and the selected group come back.
    void SwitchSearch();

    // Selects the tab at `position` and shows its group.
    void SelTab(int position);
    // Places the title bar, the group bar and the item panel.
    void FormResize();
    void SaveData();
    // Starts item `item` of group `group` (both 1-based) as its own panel
    // does: the count, the sort by count and the save follow.
    void RunGroupItem(size_t group, size_t item, ShowMode show, std::wstring_view verb);
    // What follows the start of a search result: the query is cleared (in
    // command mode) or search mode is left, and the panel hides if asked to.
    void AfterSearchRun();
    // The keys the panel handles before its children: Escape, Tab,
    // Ctrl+Tab, Alt+E; whether the key was one of them.
    bool KeyDown(UINT virtualKey);
    // A typed character: letters, digits, "<", ">" and ":" start a search;
    // whether it did.
    bool OnChar(wchar_t character);
    // The message loop's look at a key before the focused child gets it:
    // true when the panel handled it (it is not dispatched then).
    bool PreviewMessage(const MSG& msg);
    // Pops the main menu up at the pointer, the panel in front and kept shown
    // meanwhile, and carries out the command chosen.
    void ShowMainMenu(MainMenuForm form);
    void RunMainCommand(MainCommand command);
    // The item menu of item `item` in group `group` (both 1-based) at the
    // pointer, and the command chosen carried out on that item.
    void ShowItemMenu(size_t group, size_t item);
    void RunItemCommand(ItemCommand command, size_t group, size_t item);
    // The item editor for an existing item, or for a new one added to the
    // group shown. One editor at a time: one that holds typed changes is
    // closed only when the user agrees.
    void OpenItemEditor(std::optional<ItemPlace> item);
    // The open editor; nullptr when none is.
    ItemEditor* Editor() { return editor_ && editor_->IsOpen() ? editor_.get() : nullptr; }
    // The title caption; an empty text brings the configured title back.
    void SetCaption(const std::wstring& caption);
    const std::wstring& Caption() const { return title_.Caption(); }

    // Group commands.
    void NewGroup();
    void RenameGroup();
    void DeleteGroup();
    void DeleteAllGroups();
    // Moves the tab `from` to just before `to`, selects it and saves.
    void MoveTab(int from, int to);
    // The typed name of the selected group; nothing for an empty text.
    void CommitGroupTitle(std::wstring_view typed);

    // Adds one item per dropped path, in order, and saves once.
    void AddDroppedFiles(const std::vector<std::wstring>& paths);

    // The yellow bar under the title that announces an update; the update
    // check shows it. Its close square hides it and quiets later notices.
    void ShowUpdateBar(std::wstring text);
    bool UpdateMode() const { return updateMode_; }
    bool UpdateNoticesDisabled() const { return disableUpdate_; }

    // The selected tab as stored at shut-down.
    int ActivatedTab() const { return currentTab_ < 1 ? 1 : currentTab_; }

    // The memo, the hosts editor and the timed shutdown; kShutdownTimer is
    // the timed shutdown's 15-second check (Timer1).
    Tools& PanelTools() { return tools_; }
    static constexpr UINT_PTR kShutdownTimer = 20;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    // What the group bar reports.
    void TabSelected(int position) override { SelTab(position); }
    void TabMoved(int from, int to) override { MoveTab(from, to); }
    void GroupCommandChosen(GroupCommand command) override;
    void GroupTitleTyped(std::wstring_view title) override { CommitGroupTitle(title); }
    void MenuShown(bool open) override { docking_.SetKeepShown(open); }
    // What the item panels and the search box report.
    void GroupItemChosen(size_t group, size_t item, ShowMode show, std::wstring_view verb) override {
        RunGroupItem(group, item, show, verb);
    }
    void SearchResultStarted() override { AfterSearchRun(); }
    void ItemsChanged() override { SaveData(); }
    void HideRequested(HideMode mode) override { HidePanel(mode); }
    void TipChanged(HWND window, const std::wstring& text) override { SetTip(window, text); }
    void CaptionChanged(const std::wstring& caption) override { SetCaption(caption); }
    void PanelKey(UINT virtualKey) override { KeyDown(virtualKey); }
    // Of both.
    void PanelDragged() override { docking_.Drag(); }
    void MainMenuRequested() override { ShowMainMenu(MainMenuForm::Panel); }
    void ItemMenuRequested(size_t group, size_t item) override { ShowItemMenu(group, item); }
    // What the item editor reports (MainPanelEditor.cpp).
    bool EditorConfirmed(const ItemRecord& texts) override;
    void EditorClosed() override;

    // Item `item` of group `group` (both 1-based); nullptr when there is none.
    ItemRecord* GroupItem(size_t group, size_t item);
    // A menu of the panel at the pointer, the panel in front and kept shown
    // while it is open; the id chosen, 0 for none.
    unsigned TrackPanelMenu(const std::vector<MenuEntry>& entries);
    // The main menu's commands on the group shown (MainPanelMenu.cpp).
    void AddToCurrentGroup(const ItemRecord& item);
    void SortCurrentGroup(SortMode mode);
    void ConvertCurrentGroup(int mode);
    void SetCommandMode(bool on);
    void SetLockConfig(bool on);
    // Ends the program, unless the open tool window keeps the user.
    void Quit();
    // The item menu's commands (MainPanelItemMenu.cpp).
    void MoveItem(size_t group, size_t item, size_t toGroup);
    void CreateDesktopShortcut(const ItemRecord& item);
    // After a command changed group `group`: the panel shows it again (a
    // removal from the top, as the rows closed up) and the data is saved.
    void GroupEdited(size_t group, RedrawMode mode = RedrawMode::KeepScroll);

    // No group is selected until the next SelTab.
    void ClearSelection();
    void OnPing();
    void OnSettled();
    void OnPaint();
    void OnMouse(UINT message, int x, int y);
    void OnButtonReleased(TitleButton button);
    void OnDropFiles(HDROP drop);
    void OnMouseWheel(int delta);
    // The hover tip of a child window; an empty text removes it.
    void SetTip(HWND window, const std::wstring& text);
    // Targets that were missing are looked at again (the panel is shown, a drive came).
    void LookAgainForMissingIcons();
    std::wstring ConfiguredTitle();
    TitleBarState TitleState() const;
    Configuration& Config() { return host_.Config(); }

    HINSTANCE instance_;
    PanelHost& host_;
    const PanelLook& look_;
    PanelContext children_;  // what the children are made with
    TitleBar title_;
    TitleButton hot_ = TitleButton::None;
    TitleButton pressed_ = TitleButton::None;
    LeaveTracker leave_;
    BackBuffer buffer_;
    ComposedPaint composed_;  // the panel summoned: it and its parts in one paint
    WindowPtr<GroupBar> groupBar_;
    WindowPtr<ItemPanel> itemPanel_;
    WindowPtr<SearchBox> search_;
    bool searchMode_ = false;
    UniqueWindow tooltip_;
    int currentTab_ = 0;
    bool updateMode_ = false;
    std::wstring updateText_;
    bool disableUpdate_ = false;
    bool loaded_ = false;
    bool pingArmed_ = false;
    PanelDocking docking_;
    WindowPtr<ShadowWindow> shadow_;
    bool shadowPending_ = false;  // shown again, the shadow not yet
    // After the shadow, its owner: the editor goes first.
    WindowPtr<ItemEditor> editor_;  // made at its first use, hidden while closed
    ItemSerial editing_;                  // the item the editor holds; 0 for a new one
    std::uint64_t serials_ = 0;           // the last serial given to an item
    POINT itemMenuAt_{};                  // where the last item menu opened
    const UINT taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    BoundsStore bounds_;
    Tools tools_;
};

// The default panel rectangle on the primary screen, in pixels.
Box DefaultPanelBounds();

}  // namespace mivra::win
