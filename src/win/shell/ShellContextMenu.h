#pragma once
// Explorer's own context menu for a file or folder: the menu the shell shows
// for it, with every extension, tracked at a point and the chosen command
// carried out. While it is open, the owner window's messages go to the menu
// first, so that owner-drawn submenus (Send To, Open With) fill and draw.

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "base/ComPtr.h"

namespace mivra::win {

// The absolute id list of `path`; empty when the shell cannot parse it (it does not exist).
UniqueIdList PathToIdList(HWND owner, const std::wstring& path);

// The folder holding the last element of `list`; nothing for an empty list.
ComPtr<IShellFolder> ParentFolderOf(PCIDLIST_ABSOLUTE list);

// Shows the context menu of `child` (a single element of `folder`) at the
// screen point `at`, owned by `owner`; true when a command was chosen and invoked.
bool ShowShellMenu(HWND owner, IShellFolder& folder, PCUITEMID_CHILD child, POINT at);

// All of it for a resolved path: nothing happens for a path the shell cannot
// parse. True when a command was chosen.
bool ShowShellMenuFor(HWND owner, const std::wstring& path, POINT at);

}  // namespace mivra::win
