#pragma once
// Keeps the panel's rectangle in `Size`. A move or size gesture of the user
// is stored once, when it ends; moves the program makes itself (clamps,
// slides) are gathered and stored a moment after the last one. A write never
// waits for a file that another program holds: it is tried again a moment
// later instead, so that no message of the panel waits for the disk. What is
// still pending is written at exit and when the session ends.

#include <windows.h>

#include "config/Configuration.h"

namespace mivra::win {

class BoundsStore {
public:
    explicit BoundsStore(Configuration& config) : config_(config) {}

    // The panel whose rectangle is stored; its timer `timerId` is the store's.
    void Attach(HWND panel, UINT_PTR timerId);
    // WM_MOVE and WM_SIZE.
    void Moved();
    // WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE.
    void GestureBegan() { inGesture_ = true; }
    void GestureEnded();
    // The timer `timerId` ticked.
    void OnTimer();
    // Writes what is pending now, waiting a moment for the file if needed
    // (at exit, at the end of the session).
    void Flush();
    bool Pending() const { return pending_; }

private:
    // Stores the rectangle; false when the file took nothing (try again).
    bool Store(Patience patience);
    void Later();

    Configuration& config_;
    HWND panel_ = nullptr;
    UINT_PTR timerId_ = 0;
    bool pending_ = false;
    bool inGesture_ = false;
    int attemptsLeft_ = 0;
};

}  // namespace mivra::win
