#pragma once
// Sorting a group's items by title, path or launch count.

#include <string>
#include <string_view>
#include <vector>

#include "data/Group.h"

namespace mivra {

// The sorts of the item menu; the numbers are the menu's.
enum class SortMode : int { ByTitle = 1, ByPath = 2, ByCount = 3 };

// `text` with every character through FoldCase: the lowercase letter for the
// letters users write ("É" gives "é"), shared by sorting and search.
std::wstring LowerCaseText(std::wstring_view text);

// The launch count as a number: its leading integer, within the int range.
long long LaunchCount(std::wstring_view count);

// The order of `items` after a sort in `mode` (below): for each place, the
// index the item there comes from. Empty for an unknown mode.
std::vector<size_t> SortOrder(const std::vector<ItemRecord>& items, SortMode mode);

// What the sort by launch count compares: more launches first, then the
// lower-cased title (LowerCaseText).
struct CountKey {
    long long count;
    std::wstring_view lowerTitle;
};
// The order of a sort by launch count over these keys, as SortOrder gives it.
std::vector<size_t> OrderByCount(const std::vector<CountKey>& keys);

// Puts the elements in `order` (as SortOrder gives it); an order of another
// length leaves them as they are.
template <class T>
void ApplyOrder(std::vector<T>& elements, const std::vector<size_t>& order) {
    if (order.size() != elements.size()) return;
    std::vector<T> sorted;
    sorted.reserve(elements.size());
    for (size_t from : order) sorted.push_back(std::move(elements[from]));
    elements = std::move(sorted);
}

// By title, by path (lower-cased, binary), by launch count (more first, then
// by title). The sorts by title and by path do nothing while `sortByCount` is on.
// The result is the order of a selection sort by exchanges, ties included.
// Returns whether a sort ran, so the order may have changed.
bool SortItems(std::vector<ItemRecord>& items, SortMode mode, bool sortByCount);

}  // namespace mivra
