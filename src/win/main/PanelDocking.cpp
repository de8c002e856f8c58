#include "main/PanelDocking.h"

#include "base/Gdi.h"

namespace mivra::win {
namespace {

constexpr UINT kStepMs = 150;
constexpr UINT kSlideTickMs = 10;

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM boxes) {
    reinterpret_cast<std::vector<Box>*>(boxes)->push_back(ToBox(*rect));
    return TRUE;
}

}  // namespace

std::vector<Box> MonitorBoxes() {
    std::vector<Box> boxes;
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&boxes));
    if (boxes.empty())
        boxes.push_back({GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                         GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)});
    return boxes;
}

PanelDocking::~PanelDocking() {
    if (!window_) return;
    KillTimer(window_, stepTimer_);
    KillTimer(window_, slideTimer_);
}

void PanelDocking::Attach(HWND window, UINT_PTR stepTimer, UINT_PTR slideTimer) {
    window_ = window;
    monitors_ = MonitorBoxes();
    stepTimer_ = stepTimer;
    slideTimer_ = slideTimer;
}

Box PanelDocking::PanelBox() const {
    RECT r{};
    GetWindowRect(window_, &r);
    return ToBox(r);
}

DockFrame PanelDocking::Frame() const { return DockFrameFor(PanelBox(), monitors_); }

void PanelDocking::Show() {
    keepShown_ = true;
    fullScreen_.PanelShown();
    parked_ = {};
    const Box panel = PanelBox();
    const std::optional<Point> inside = ShowTarget(panel, Frame());
    if (config_.Flag(Opt::AutoHide)) {
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
        if (inside) SlideTo(*inside);
    } else {
        if (inside) PlaceAt(*inside);
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
    }
}

void PanelDocking::Hide(HideMode mode) {
    if (lockAutoHide_ || dialogOpen_) return;
    if (!config_.Flag(Opt::AutoHide)) {
        ShowWindow(window_, SW_HIDE);
        keepShown_ = false;
        return;
    }
    const HidePlan plan = PlanHide(PanelBox(), Frame(), mode);
    parked_ = plan.hidden;
    if (plan.action == HidePlan::Action::HideWindow) ShowWindow(window_, SW_HIDE);
    if (plan.action == HidePlan::Action::Slide) SlideTo(plan.target);
    keepShown_ = false;
}

bool PanelDocking::WhollyOnScreen() const { return mivra::WhollyOnScreen(PanelBox(), Frame()); }

void PanelDocking::Drag() {
    if (config_.Flag(Opt::LockPosition)) return;
    keepShown_ = true;
    ReleaseCapture();
    // Returns when the move ends.
    SendMessageW(window_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    keepShown_ = false;
}

void PanelDocking::PlaceAt(Point at) {
    SetWindowPos(window_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PanelDocking::SlideTo(Point target) {
    const Box panel = PanelBox();
    slideFrom_ = {panel.left, panel.top};
    slideTo_ = target;
    if (!config_.Flag(Opt::UIAnimation) || slideFrom_ == slideTo_) {
        sliding_ = false;
        KillTimer(window_, slideTimer_);
        PlaceAt(target);
        return;
    }
    sliding_ = true;
    slideStart_ = GetTickCount();
    PlaceAt(SlidePosition(slideFrom_, slideTo_, 0, true));
    SetTimer(window_, slideTimer_, kSlideTickMs, nullptr);
}

void PanelDocking::OnTimer(UINT_PTR id) {
    if (id == stepTimer_) {
        Step();
    } else if (id == slideTimer_ && sliding_) {
        const int elapsed = static_cast<int>(GetTickCount() - slideStart_);
        PlaceAt(SlidePosition(slideFrom_, slideTo_, elapsed, true));
        if (elapsed >= kSlideMs) {
            sliding_ = false;
            KillTimer(window_, slideTimer_);
        }
    }
}

// The periodic auto-hide step: the pointer near a parked panel's edge brings
// it out, the pointer well away from a docked one parks it.
void PanelDocking::Step() {
    if (!config_.Flag(Opt::AutoHide) || !IsWindowVisible(window_)) return SetStepping(false);
    if (keepShown_ || sliding_) return;
    keepShown_ = true;
    POINT cursor{};
    GetCursorPos(&cursor);
    const Box panel = PanelBox();
    switch (StepAutoHide(panel, {cursor.x, cursor.y}, Frame())) {
    case AutoHideStep::Show: panel_.show(); break;
    case AutoHideStep::Park: panel_.hide(HideMode::Automatic); break;
    case AutoHideStep::Nothing: break;
    }
    // Brought out by the pointer, the panel goes again when the pointer leaves
    // (unlike one the hotkey showed, which stays until something hides it).
    keepShown_ = false;
}

void PanelDocking::SetStepping(bool wanted) {
    if (wanted == stepping_) return;
    stepping_ = wanted;
    if (wanted) SetTimer(window_, stepTimer_, kStepMs, nullptr);
    else KillTimer(window_, stepTimer_);
}

void PanelDocking::Shown(bool shown) {
    // WM_SHOWWINDOW comes before the window is visible: decide by what it says.
    SetStepping(shown && config_.Flag(Opt::AutoHide));
    if (shown && config_.Flag(Opt::ShowFollowMouse) && !fullScreen_.HiddenForFullScreen()) {
        POINT cursor{};
        GetCursorPos(&cursor);
        PlaceAt(FollowMouse(PanelBox(), {cursor.x, cursor.y}, monitors_));
    }
}

void PanelDocking::Deactivated(HWND activated) {
    // The program's own windows (the shadow, a message box, a menu) take the
    // activation without the panel going away.
    DWORD process = 0;
    if (activated) GetWindowThreadProcessId(activated, &process);
    if (process == GetCurrentProcessId()) return;
    if (config_.Flag(Opt::LostFocusHide)) {
        panel_.hide(HideMode::OnRequest);
    } else if (config_.Flag(Opt::AutoHide) && keepShown_ && DockedEdges(PanelBox(), Frame()).Any()) {
        panel_.hide(HideMode::Automatic);
    }
}

void PanelDocking::DisplayChanged() {
    monitors_ = MonitorBoxes();
    const Box panel = PanelBox();
    const Point at = AfterDisplayChange(panel, parked_, monitors_);
    if (at != Point{panel.left, panel.top}) PlaceAt(at);
}

}  // namespace mivra::win
