#pragma once
// The commands on groups, on the groups in tab order (position 1 is the
// first tab): new, rename, delete one (its items move to the default group)
// and delete all. Nothing here saves; the caller saves after each command.

#include <string>
#include <string_view>
#include <vector>

#include "data/Group.h"

namespace mivra {

// The titles in tab order.
std::vector<std::wstring> GroupTitles(const std::vector<Group>& groups);

// Appends a group: `title` cleaned, or "N分组" when that is empty, made
// unique. Returns its position.
int AddGroup(std::vector<Group>& groups, std::wstring_view title);

// Renames the group at `position` to the typed text (cleaned, made
// unique). False when nothing changed because nothing usable was typed.
bool RenameGroup(std::vector<Group>& groups, int position, std::wstring_view typed);

// Where the items of a deleted group go: the first tab, or the second when
// the first is the one deleted.
int DefaultGroupPosition(int deletedPosition);

// The question asked before a group that holds items is deleted.
std::wstring DeleteGroupQuestion(std::wstring_view defaultGroupTitle);
inline constexpr wchar_t kDeleteAllGroupsQuestion[] = L"确定删除全部分组吗？";

// Deletes the group at `position` (never the last one left), appending its
// items, unchanged, to the default group. Returns the position to select
// next, or 0 when nothing was deleted.
int DeleteGroup(std::vector<Group>& groups, int position);

// Leaves one empty group named "1分组".
void DeleteAllGroups(std::vector<Group>& groups);

}  // namespace mivra
