#pragma once
// The search result list: what the search box lists for a typed text. First,
// for a few command forms, one command item made up from the text; then
// every item of every group that the text finds, listed as "Title [Group]"
// and remembering where it came from, so that starting a result starts the
// item in its own group. The list is sorted by launch count.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/Group.h"
#include "items/ItemSearch.h"

namespace mivra {

// Where a result came from: the group's number (1-based, in tab order) and
// the item's number in it. Both 0 for a command item.
struct ItemOrigin {
    size_t group = 0;
    size_t item = 0;

    bool IsEmpty() const { return group == 0 || item == 0; }
    bool operator==(const ItemOrigin&) const = default;
};

struct SearchList {
    std::vector<ItemRecord> items;
    std::vector<ItemOrigin> origins;  // one per item

    void Clear() {
        items.clear();
        origins.clear();
    }
    // Appends a result exactly as given.
    void AddItem2(ItemRecord record, ItemOrigin origin) {
        items.push_back(std::move(record));
        origins.push_back(origin);
    }
    size_t size() const { return items.size(); }
};

// The command item that `text` asks for ("<" runs a command, ">" a console
// command, ":b"/":g" a web search, a system keyword anywhere in a longer
// text), before the usual adding of items; nullopt when there is none.
// `programFile` is the program's own path, which carries out the keywords.
std::optional<ItemRecord> CommandItemFor(std::wstring_view text, std::wstring_view programFile);

// Lists `command` (when there is one) and every item of every group that
// `keyword` finds, group by group in tab order, then sorts the list by
// launch count, as sorting a list built in that order would. `keys` holds
// one prepared set per group. Each result's record is made once, in its
// sorted place.
void FillSearchList(SearchList& list, const std::optional<ItemRecord>& command, const std::vector<Group>& groups,
                    const std::vector<SearchKeys>& keys, std::wstring_view keyword);

// Sorts the list by launch count (then title), origins along.
void SortByLaunchCount(SearchList& list);

}  // namespace mivra
