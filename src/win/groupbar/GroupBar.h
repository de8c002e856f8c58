#pragma once
// Tabs: the group bar, one tab per group in the user's order. It selects a
// group by click (or by hovering, as an option), reorders groups by dragging
// a tab, renames the selected group in place and opens the group menu.

#include <windows.h>

#include "base/Unique.h"
#include "base/Window.h"
#include "layout/TabGrid.h"

namespace mivra::win {

class MainPanel;

class GroupBar final : public Window<GroupBar> {
public:
    explicit GroupBar(MainPanel& owner) : owner_(owner) {}
    ~GroupBar();

    bool Create(HWND parent);

    const TabBarGeometry& Geometry() const { return bar_; }
    void SetGeometry(const TabBarGeometry& bar) { bar_ = bar; }
    // Repaints every tab (DrawTabs).
    void Redraw();

    // The in-place rename box over the selected tab.
    void BeginRename();
    void CommitRename();
    bool Renaming() const { return renaming_; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    int TabCount() const;
    void OnPaint();
    void OnMouseMove(int x, int y, WPARAM buttons);
    void OnButtonDown(int x, int y, bool left);
    void OnLeftButtonUp(int x, int y);
    void OnRightButtonUp(int x, int y);
    void OnDoubleClick();
    void OnHoverTimer();
    void ShowGroupMenu(bool onTab);
    bool EnsureRenameBox();
    void TrackLeave();
    LRESULT RenameBoxMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam);

    MainPanel& owner_;
    TabBarGeometry bar_;
    int hoverTab_ = 0;
    int downTab_ = 0;
    bool dragging_ = false;  // the left button went down on a tab and is held
    bool trackingLeave_ = false;
    POINT hoverPoint_{};
    int hoverCandidate_ = 0;
    HWND renameBox_ = nullptr;  // a child: destroyed with the bar
    UniqueGdiObject renameBrush_;
    bool renaming_ = false;
};

}  // namespace mivra::win
