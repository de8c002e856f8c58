#pragma once
// Pictures of controls' scroll bars, kept by the state they show. Drawing a
// scroll bar is slow on some systems (Wine's themed ones take milliseconds
// each), printing a control leaves its scroll bars out there, and a dialog
// shown again mostly shows its scroll bars as they were: the picture taken
// the last time the control drew a bar in that state serves again.

#include <windows.h>

#include <cstddef>
#include <vector>

#include "base/Gdi.h"

namespace mivra::win {

class ScrollBarPictures {
public:
    // Draws the scroll bar `control` has, if any, into `image`, which holds
    // `window`'s client area, from a picture of the bar in its present
    // state, within `shown` (the part of the control its parents show, in
    // `window`'s client coordinates). True when there is nothing left to
    // draw; false when no picture fits, or the control has two bars (the
    // corner between them is not kept): the control must draw its frame.
    bool DrawAll(HWND control, HWND window, const RECT& shown, HDC image) const;
    // Keeps the picture of the one scroll bar `control` has just drawn.
    void KeepAll(HWND control);
    // After the system's look changed: no picture fits any more.
    void Forget() { pictures_.clear(); }

private:
    struct State {
        LONG bar = 0;
        int width = 0, height = 0;
        int lineButton = 0, thumbTop = 0, thumbBottom = 0;
        DWORD parts[CCHILDREN_SCROLLBAR + 1] = {};
        bool enabled = false;
        bool operator==(const State&) const = default;
    };
    struct Picture {
        State state;
        MemoryCanvas pixels;
    };
    // The vertical or horizontal bar (`bar`: OBJID_VSCROLL, OBJID_HSCROLL).
    bool Draw(HWND control, LONG bar, HWND window, const RECT& shown, HDC image) const;
    void Keep(HWND control, LONG bar);
    // The bar's state and where it is on the screen; false when it has none.
    static bool StateOf(HWND control, LONG bar, State& state, RECT& onScreen);

    std::vector<Picture> pictures_;  // the most recent last
};

}  // namespace mivra::win
