#pragma once
// Showing and hiding the panel: the arithmetic that does not need a window.
// Docking at the screen's edges builds on this.

#include "layout/Geometry.h"

namespace mivra {

// Why the panel is hidden: on request (Escape, the hotkey, after a start),
// or automatically (the pointer left a docked panel); only a docked panel
// reacts to the automatic one.
enum class HideMode : int { OnRequest = 0, Automatic = 1 };

// Where a panel of `panel`'s size goes to be wholly inside `screen` (the
// virtual screen), moved as little as possible; a panel larger than the
// screen keeps its left or top edge on the screen's.
Point KeptOnScreen(const Box& panel, const Box& screen);

}  // namespace mivra
