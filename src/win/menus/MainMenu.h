#pragma once
// The main menu on the screen: popped up at the pointer from the title bar's
// menu button, from empty space in a panel, or from the tray icon. What it
// holds is menus/MainMenuModel's.

#include <windows.h>

#include <vector>

#include "menus/MainMenuModel.h"

namespace mivra::win {

// Pops `entries` up at the pointer for `owner` (which must be in the
// foreground for the menu to close when clicked away from); the command
// chosen, None when the menu was closed.
MainCommand TrackMainMenu(HWND owner, const std::vector<MenuEntry>& entries);

}  // namespace mivra::win
