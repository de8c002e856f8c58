#pragma once
// Dragging one entry onto another: the dragged entry is taken out and put back
// directly before the target; the entries in between close up. Used for tabs
// and for items (positions are 1-based).

#include <algorithm>
#include <cstddef>
#include <vector>

namespace mivra {

// Moves entry `from` to just before entry `to` and returns its new position;
// returns `from` and changes nothing when either is out of range or they are equal.
template <typename T>
size_t MoveBefore(std::vector<T>& entries, size_t from, size_t to) {
    if (from < 1 || to < 1 || from > entries.size() || to > entries.size() || from == to) return from;
    auto first = entries.begin();
    if (to < from) {
        std::rotate(first + (to - 1), first + (from - 1), first + from);
        return to;
    }
    std::rotate(first + (from - 1), first + from, first + (to - 1));
    return to - 1;
}

}  // namespace mivra
