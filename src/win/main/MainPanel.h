#pragma once
// frmMain: the borderless main panel. It paints the title bar itself and
// carries the group bar and the item panel of the selected group; it lays
// them out, selects groups, runs the group commands and receives what the
// system sends to the program (dropped files, the wheel, moves and sizes,
// the hand-over of a second start, the tray).

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <optional>
#include <vector>
#include <string>
#include <string_view>

#include "base/Unique.h"
#include "base/WinCodePage.h"
#include "base/Window.h"
#include "items/ItemSearch.h"
#include "layout/Geometry.h"
#include "main/BoundsStore.h"
#include "main/PanelHost.h"
#include "main/PanelLook.h"
#include "main/TitleBar.h"

namespace mivra::win {

class GroupBar;
class ItemPanel;
class SearchBox;

class MainPanel final : public Window<MainPanel> {
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
    // Mode 0: hidden on request; 1: automatic.
    void HidePanel(int mode);
    void Close();

    // --- For the children ---------------------------------------------------
    PanelHost& Host() { return host_; }
    Configuration& Config() { return host_.Config(); }
    const PanelLook& Look() const { return look_; }
    HINSTANCE Instance() const { return instance_; }
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
    // Every group's prepared search keys, in tab order; made again after
    // anything was saved.
    const std::vector<SearchKeys>& PreparedSearchKeys();

    // Selects the tab at `position` and shows its group.
    void SelTab(int position);
    // Places the title bar, the group bar and the item panel.
    void FormResize();
    // Lets the window manager move the panel with the pointer (the left
    // button is down), unless the position is locked.
    void DragPanel();
    void SaveData();
    // Starts item `item` of group `group` (both 1-based) as its own panel
    // does: the count, the sort by count and the save follow.
    void RunGroupItem(size_t group, size_t item, int show, std::wstring_view verb);
    // What follows the start of a search result: the query is cleared (in
    // command mode) or search mode is left, and the panel hides if asked to.
    void AfterSearchRun();
    // The keys the panel handles before its children: Escape, Tab, Ctrl+Tab.
    void KeyDown(int code);
    // A typed character: letters, digits, "<", ">" and ":" start a search.
    void OnChar(wchar_t character);
    int ShowMessage(std::wstring_view text, UINT style) { return host_.ShowMessage(text, style); }
    // The hover tip of a child window; an empty text removes it.
    void SetTip(HWND window, const std::wstring& text);
    // The title caption; an empty text brings the configured title back.
    void SetCaption(const std::wstring& caption);
    const std::wstring& Caption() const { return title_.Caption(); }
    void SetKeepShown(bool keep) { keepShown_ = keep; }

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

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnPing();
    void OnPaint();
    void OnMouse(UINT message, int x, int y);
    void OnButtonReleased(TitleButton button);
    void OnDropFiles(HDROP drop);
    void OnMouseWheel(int delta);
    // Targets that were missing are looked at again (the panel is shown, a drive came).
    void LookAgainForMissingIcons();
    std::wstring ConfiguredTitle();
    TitleBarState TitleState() const;

    HINSTANCE instance_;
    PanelHost& host_;
    const PanelLook& look_;
    TitleBar title_;
    TitleButton hot_ = TitleButton::None;
    TitleButton pressed_ = TitleButton::None;
    bool trackingLeave_ = false;
    std::unique_ptr<GroupBar> groupBar_;
    std::unique_ptr<ItemPanel> itemPanel_;
    std::unique_ptr<SearchBox> search_;
    bool searchMode_ = false;
    std::optional<WinCodePage> gbk_;  // pinyin initials are read in code page 936
    std::vector<SearchKeys> searchKeys_;
    bool searchKeysStale_ = true;
    UniqueWindow tooltip_;
    int currentTab_ = 0;
    bool updateMode_ = false;
    std::wstring updateText_;
    bool disableUpdate_ = false;
    bool loaded_ = false;
    bool pingArmed_ = false;
    bool keepShown_ = false;
    BoundsStore bounds_;
};

// The default panel rectangle on the primary screen, in pixels.
Box DefaultPanelBounds();

}  // namespace mivra::win
