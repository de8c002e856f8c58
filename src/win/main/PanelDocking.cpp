#include "main/PanelDocking.h"

namespace mivra::win {

void PanelDocking::Show() {
    keepShown_ = true;
    fullScreen_.PanelShown();
    RECT window{};
    GetWindowRect(panel_, &window);
    const Box panel{window.left, window.top, window.right - window.left, window.bottom - window.top};
    const Box screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                     GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const Point at = KeptOnScreen(panel, screen);
    if (at.x != panel.left || at.y != panel.top)
        SetWindowPos(panel_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(panel_, SW_SHOW);
    SetForegroundWindow(panel_);
}

bool PanelDocking::WhollyOnScreen() const {
    RECT window{};
    GetWindowRect(panel_, &window);
    const Box panel{window.left, window.top, window.right - window.left, window.bottom - window.top};
    const Box screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                     GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    return KeptOnScreen(panel, screen) == Point{panel.left, panel.top};
}

void PanelDocking::Hide(HideMode mode) {
    if (mode == HideMode::OnRequest) ShowWindow(panel_, SW_HIDE);
    keepShown_ = false;
}

void PanelDocking::Drag() {
    if (config_.Flag(Opt::LockPosition)) return;
    keepShown_ = true;
    ReleaseCapture();
    // Returns when the move ends.
    SendMessageW(panel_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    keepShown_ = false;
}

}  // namespace mivra::win
