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
    // Draws the scroll bar `control` has, if any, into `image` (as Draw
    // does). False when it has one no picture fits, or two (with the corner
    // between them, which is not kept): the control must draw its frame.
    bool DrawAll(HWND control, HWND window, HDC image) const;
    // Keeps the picture of the one scroll bar `control` has just drawn.
    void KeepAll(HWND control);
    // Draws the vertical or horizontal (`bar`: OBJID_VSCROLL, OBJID_HSCROLL)
    // scroll bar of `control` into `image`, which holds `window`'s client
    // area, from a picture of the bar in its present state. True when the
    // bar is drawn or not shown at all; false when no picture fits.
    bool Draw(HWND control, LONG bar, HWND window, HDC image) const;
    // Takes the picture of the bar as `control` has just drawn it.
    void Keep(HWND control, LONG bar);
    // After the system's look changed: no picture fits any more.
    void Forget() { pictures_.clear(); }
    size_t Count() const { return pictures_.size(); }

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
    // The bar's state and where it is on the screen; false when it has none.
    static bool StateOf(HWND control, LONG bar, State& state, RECT& onScreen);

    std::vector<Picture> pictures_;  // the most recent last
};

}  // namespace mivra::win
