#pragma once
// Showing and hiding the main panel, docking it at the screen's edges and
// what keeps it shown (a menu that is open, a drag of the panel). With
// AutoHide on, a panel at an outer edge of its monitor is not hidden but
// parked beyond that edge, and slides back when the pointer touches it; the
// slides run from a timer, placing the panel by the time elapsed, so that no
// input waits for them. Nothing runs periodically while the panel is hidden
// or AutoHide is off.

#include <windows.h>

#include <functional>
#include <vector>

#include "app/FullScreenHide.h"
#include "config/Configuration.h"
#include "layout/PanelDocking.h"

namespace mivra::win {

class PanelDocking {
public:
    // What the periodic step asks of the panel: the whole ShowPanel and
    // HidePanel, which do more than docking (the first group, search mode).
    struct Panel {
        std::function<void()> show;
        std::function<void(HideMode)> hide;
    };

    PanelDocking(const Configuration& config, Panel panel) : config_(config), panel_(std::move(panel)) {}
    ~PanelDocking();
    void Attach(HWND window, UINT_PTR stepTimer, UINT_PTR slideTimer);

    // Brings the panel back onto the screen and shows it in front; it stays
    // shown until the next Hide.
    void Show();
    void Hide(HideMode mode);
    // While set (a menu is open, the panel is dragged) nothing hides the panel on its own.
    void SetKeepShown(bool keep) { keepShown_ = keep; }
    bool KeepShown() const { return keepShown_; }
    // The main menu's "阻止自动隐藏": while set, hiding does nothing.
    void SetLockAutoHide(bool lock) { lockAutoHide_ = lock; }
    bool LockAutoHide() const { return lockAutoHide_; }
    // While a dialog of the panel is open (the item editor) hiding does
    // nothing either; a lock of its own, so that the user's stays as set.
    void SetDialogOpen(bool open) { dialogOpen_ = open; }
    // The panel lies wholly on the screen (not parked, not partly beyond an edge).
    bool WhollyOnScreen() const;
    // Lets the window manager move the panel with the pointer (the left
    // button is down), unless its position is locked.
    void Drag();
    FullScreenHide& FullScreen() { return fullScreen_; }
    Edges Parked() const { return parked_; }

    // From the panel's messages.
    void Shown(bool shown);  // WM_SHOWWINDOW
    void Deactivated(HWND activated);  // WM_ACTIVATE, the panel no longer active
    void DisplayChanged();
    void OnTimer(UINT_PTR id);

private:
    Box PanelBox() const;
    DockFrame Frame() const;
    void SlideTo(Point target);
    void Step();
    void PlaceAt(Point at);
    // The periodic step runs only while wanted (shown, with AutoHide).
    void SetStepping(bool wanted);

    const Configuration& config_;
    Panel panel_;
    HWND window_ = nullptr;
    // The monitors, read when attached and again when the displays change:
    // not on every step.
    std::vector<Box> monitors_;
    UINT_PTR stepTimer_ = 0, slideTimer_ = 0;
    bool stepping_ = false;
    bool keepShown_ = false;
    bool lockAutoHide_ = false;
    bool dialogOpen_ = false;
    Edges parked_;
    FullScreenHide fullScreen_;
    // The slide under way.
    bool sliding_ = false;
    Point slideFrom_, slideTo_;
    DWORD slideStart_ = 0;
};

// The whole rectangles of the monitors, in pixels of the virtual screen.
std::vector<Box> MonitorBoxes();

}  // namespace mivra::win
