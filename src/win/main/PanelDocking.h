#pragma once
// Showing and hiding the main panel, and what keeps it shown: a menu that is
// open, a drag of the panel. Docking at the screen's edges, the slide and
// the automatic hide belong here too.

#include <windows.h>

#include "config/Configuration.h"
#include "app/FullScreenHide.h"
#include "layout/PanelDocking.h"

namespace mivra::win {

class PanelDocking {
public:
    explicit PanelDocking(const Configuration& config) : config_(config) {}
    void Attach(HWND panel) { panel_ = panel; }

    // Brings the panel back onto the screen if it was left outside and shows
    // it in front; it stays shown until the next Hide.
    void Show();
    void Hide(HideMode mode);
    // While set (a menu is open, the panel is dragged) nothing hides the panel on its own.
    void SetKeepShown(bool keep) { keepShown_ = keep; }
    bool KeepShown() const { return keepShown_; }
    FullScreenHide& FullScreen() { return fullScreen_; }
    // The panel lies wholly inside the screen (not parked, not partly beyond an edge).
    bool WhollyOnScreen() const;
    // Lets the window manager move the panel with the pointer (the left
    // button is down), unless its position is locked.
    void Drag();

private:
    const Configuration& config_;
    HWND panel_ = nullptr;
    bool keepShown_ = false;
    FullScreenHide fullScreen_;
};

}  // namespace mivra::win
