#pragma once
// The main menu, popped up at the pointer from the title bar's menu button,
// from empty space in a panel, or from the tray icon.

#include <windows.h>

namespace mivra::win {

// Where the menu opens from; the tray's form is the one for a panel that may be hidden.
enum class MainMenuForm { Panel = 0, Tray = 1 };

enum class MainMenuCommand { None, Exit };

// Pops the menu up at the pointer for `owner` (which must be in the
// foreground for the menu to close when clicked away from); what was chosen.
// LATER: the entries of the tools, settings, sync and update check.
MainMenuCommand TrackMainMenu(HWND owner, MainMenuForm form);

}  // namespace mivra::win
