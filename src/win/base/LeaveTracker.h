#pragma once
// Asks for WM_MOUSELEAVE once while the pointer stays over a window: the
// request ends with each leave, so the next move asks again.

#include <windows.h>

namespace mivra::win {

class LeaveTracker {
public:
    void Track(HWND window) {
        if (tracking_) return;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
    }
    // WM_MOUSELEAVE came.
    void Left() { tracking_ = false; }

private:
    bool tracking_ = false;
};

}  // namespace mivra::win
