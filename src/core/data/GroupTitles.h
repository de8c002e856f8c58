#pragma once
// What a group title may be. A title is the key of its line in section
// "Data", and the profile engine and the data loader must read that line
// alike: a title never starts with "[" (the line would open a section),
// never holds "=" (it would end the key), a line break, a tab, NUL or any
// other control character (the line would split, be cut or trimmed), and is
// never empty (the engine drops a second empty key in a row).

#include <string>
#include <string_view>
#include <vector>

#include "data/Group.h"

namespace mivra {

// A typed or stored title made safe: control characters and "=" removed,
// then surrounding blanks and every leading "[" trimmed. Empty means: no
// usable title (a rename keeps the old one).
std::wstring CleanGroupTitle(std::wstring_view text);

// The title made unique among the others: "Work", then "2 Work", "3 Work".
// `titles` holds the tabs in position order; `ownPosition` (1-based, 0 for a
// new tab) is not compared with itself. Comparison is case-sensitive.
std::wstring UniqueTitle(const std::vector<std::wstring>& titles, std::wstring_view title, int ownPosition);

// The name of a new group at `position` when none is given: "3分组".
std::wstring DefaultGroupTitle(int position);

// Gives every group without a title the name of a new group at its
// position, made unique; in one pass, however many there are.
void GiveMissingTitles(std::vector<Group>& groups);

}  // namespace mivra
