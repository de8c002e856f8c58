#pragma once
// Adding, changing, exchanging and removing the items of a group, in memory.
// Items are numbered 1..N in vector order, without gaps. Nothing here writes
// the data file: the caller saves after a change made for the user.

#include <string>
#include <string_view>
#include <vector>

#include "data/Group.h"
#include "items/ItemSources.h"
#include "text/AnsiCodePage.h"

namespace mivra {

// A launch count as stored: a number rounded to a whole one (halves to
// even), without leading zeros; anything else, or nothing, is "0".
std::wstring NormalizeCount(std::wstring_view count);

// The caption of a dropped file: its name between the last "\" and the last
// ".", with "&" doubled so that it is not taken for a mnemonic.
std::wstring DroppedFileTitle(std::wstring_view path);

// A path is local when it is neither a web address nor a network path.
bool IsLocalPath(std::wstring_view path);

// Whether adding an item of this local path reads a shortcut file (".lnk",
// ".url", ".website"): then the shortcut's own arguments stand for the
// given ones.
bool NamesAShortcut(std::wstring_view path);

struct AddedTarget {
    std::wstring path, icoPath, argument;
    bool operator==(const AddedTarget&) const = default;
};

// Where an added item points: a shortcut is followed (an installer shortcut
// to its installed component; an ordinary one to its target, preferring the
// 64-bit Program Files where the target exists there), an internet shortcut
// to its address, a web address keeps itself as its icon path.
AddedTarget ResolveAddedTarget(ItemSources& sources, const AnsiCodePage& codePage, std::wstring_view title, std::wstring_view path,
                               std::wstring_view icoPath, std::wstring_view argument);

// Appends item N+1, unless the record cannot carry one of its values (see
// FieldTheRecordCannotHold): then nothing is added and the answer is false.
bool AddItem(std::vector<ItemRecord>& items, ItemSources& sources, const AnsiCodePage& codePage,
             std::wstring_view title, std::wstring_view path,
             std::wstring_view icoPath, std::wstring_view argument, std::wstring_view count);

// Replaces the four texts of item `number` (1-based); the count stays.
// False when there is no such item.
bool EditItem(std::vector<ItemRecord>& items, size_t number, std::wstring_view title, std::wstring_view path,
              std::wstring_view icoPath, std::wstring_view argument);

// Exchanges items a and b (1-based). False when either does not exist.
bool SwapItems(std::vector<ItemRecord>& items, size_t a, size_t b);

// A blank item: neither title nor path; it holds a cell and starts nothing.
inline bool IsBlankItem(const ItemRecord& item) { return item.title.empty() && item.path.empty(); }

}  // namespace mivra
