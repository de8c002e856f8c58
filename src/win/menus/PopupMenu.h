#pragma once
// A menu of core entries on the screen: the main menu, the item menu.

#include <windows.h>

#include <vector>

#include "menus/MenuEntry.h"

namespace mivra::win {

// Pops `entries` up at `at` (screen coordinates) for `owner`, which must be
// in the foreground for the menu to close when clicked away from; the id of
// the entry chosen, 0 when the menu was closed.
unsigned TrackPopup(HWND owner, const std::vector<MenuEntry>& entries, POINT at);

}  // namespace mivra::win
