#pragma once
// The common controls (tooltips, image lists, subclassing) are set up on
// first use rather than at start: the library costs more to load than the
// whole panel takes to appear, and the first paint needs none of it.

#include <windows.h>
#include <commctrl.h>

namespace mivra::win {

inline void EnsureCommonControls() {
    static const bool ready = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)ready;
}

}  // namespace mivra::win
