#pragma once
// Every group's prepared search keys, kept between searches. After a change
// of the groups only the groups whose titles changed are prepared again (a
// start re-sorts one group); the pinyin initials are read in code page 936.

#include <optional>
#include <vector>

#include "base/WinCodePage.h"
#include "data/Group.h"
#include "items/ItemSearch.h"

namespace mivra::win {

class SearchKeyCache {
public:
    // The keys of `groups`, one set per group in tab order.
    const std::vector<SearchKeys>& For(const std::vector<Group>& groups);
    // The groups changed: they are looked at again on the next search.
    void GroupsChanged() { stale_ = true; }

private:
    std::optional<WinCodePage> gbk_;
    std::vector<SearchKeys> keys_;
    bool stale_ = true;
};

}  // namespace mivra::win
