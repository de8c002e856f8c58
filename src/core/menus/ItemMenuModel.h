#pragma once
// The item menu as data: which entries an item's target gets, the groups it
// can move to, and the file name of its desktop shortcut.

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "menus/MenuEntry.h"

namespace mivra {

enum class ItemCommand : unsigned {
    None = 0,
    RunAsAdministrator,
    RunMinimized,
    OpenFolder,
    ExplorerMenu,
    Edit,
    Delete,
    ReplaceWithBlank,
    CopyPath,
    CreateLink,
    DeleteAll,
    MoveTo = 1000,  // + the group's index (0-based, in tab order)
};

// The group index of a move-to command, or -1 for any other.
int MoveToIndex(ItemCommand command);

// A target on this machine's file system: resolved, not empty, no "/" (a web
// address) and not a network path ("\\...").
bool IsLocalTarget(std::wstring_view resolvedPath);

struct ItemMenuState {
    std::wstring resolvedPath;          // the item's path, resolved
    int osMajor = 10;                   // "run as administrator" needs 6 or later
    std::span<const std::wstring> groupTitles;  // in tab order
    size_t ownGroup = 0;                // 1-based: its entry under "移动到" is greyed
};

// The entries in order (an entry's id is its ItemCommand).
std::vector<MenuEntry> ItemMenuEntries(const ItemMenuState& state);

inline constexpr std::wstring_view kDeleteAllQuestion = L"确定删除当前分组的全部项目吗？";
inline constexpr std::wstring_view kDefaultShortcutName = L"快捷方式";

// One valid file name for an item's desktop shortcut, made from its title
// (without ".lnk"): a doubled "&&" of dropped titles is one "&"; characters
// no file name may hold are left out, and with them every ".." and the
// dots and spaces that end a name; a device name ("CON", "COM1.txt") gets
// a "_" before it; nothing left gives kDefaultShortcutName.
std::wstring ShortcutBaseName(std::wstring_view title);
// "<base>.lnk", or the first of "<base> (2).lnk", "<base> (3).lnk", ...
// that `taken` does not know; empty after 999 tries.
std::wstring FreeShortcutFileName(const std::wstring& base, const std::function<bool(const std::wstring&)>& taken);

}  // namespace mivra
