#pragma once
// Tabs: the group bar, one tab per group in the user's order. It selects a
// group by click (or by hovering, as an option), reorders groups by dragging
// a tab, renames the selected group in place and opens the group menu.

#include <windows.h>

#include <string_view>

#include "base/Gdi.h"
#include "base/LeaveTracker.h"
#include "base/Unique.h"
#include "base/Window.h"
#include "layout/TabGrid.h"
#include "panel/PanelContext.h"

namespace mivra::win {

// The commands of the group menu.
enum class GroupCommand { New, Rename, Delete, DeleteAll };

// What the group bar reports; tab positions are 1-based, in tab order.
class GroupBarEvents {
public:
    // A tab was clicked, or rested on long enough (as an option).
    virtual void TabSelected(int position) = 0;
    // The tab `from` was dragged onto the tab `to`.
    virtual void TabMoved(int from, int to) = 0;
    virtual void GroupCommandChosen(GroupCommand command) = 0;
    // The rename box closed with this text, for the selected group.
    virtual void GroupTitleTyped(std::wstring_view title) = 0;
    // The left button went down on no tab: the panel follows the pointer.
    virtual void PanelDragged() = 0;
    // A menu of the bar opens (true) or closed (false): the panel stays shown meanwhile.
    virtual void MenuShown(bool open) = 0;

protected:
    ~GroupBarEvents() = default;
};

class GroupBar final : public Window<GroupBar> {
public:
    GroupBar(const PanelContext& context, GroupBarEvents& events) : context_(context), events_(events) {}

    bool Create(HWND parent);
    // The selected tab (0: none), as the panel selected it.
    void SetCurrentTab(int position) { current_ = position; }
    int CurrentTab() const { return current_; }

    const TabBarGeometry& Geometry() const { return bar_; }
    void SetGeometry(const TabBarGeometry& bar) { bar_ = bar; }
    // Repaints every tab (DrawTabs).
    void Redraw();

    // The in-place rename box over the selected tab.
    void BeginRename();
    void CommitRename();
    // The rename box closes and the title stays as it was.
    void CancelRename();
    bool Renaming() const { return renaming_; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    int TabCount() const;
    void OnPaint();
    void Draw(HDC dc, const RECT& client);
    void OnMouseMove(int x, int y, WPARAM buttons);
    void OnButtonDown(int x, int y, bool left);
    void OnLeftButtonUp(int x, int y);
    void OnRightButtonUp(int x, int y);
    void OnDoubleClick();
    void OnHoverTimer();
    void ShowGroupMenu(bool onTab);
    bool EnsureRenameBox();
    LRESULT RenameBoxMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam);

    PanelContext context_;
    GroupBarEvents& events_;
    int current_ = 0;
    TabBarGeometry bar_;
    int hoverTab_ = 0;
    int downTab_ = 0;
    bool dragging_ = false;  // the left button went down on a tab and is held
    LeaveTracker leave_;
    BackBuffer buffer_;
    POINT hoverPoint_{};
    int hoverCandidate_ = 0;
    HWND renameBox_ = nullptr;  // a child: destroyed with the bar
    UniqueGdiObject renameBrush_;
    bool renaming_ = false;
};

}  // namespace mivra::win
