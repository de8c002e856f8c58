#include "search/SearchKeyCache.h"

namespace mivra::win {

const std::vector<SearchKeys>& SearchKeyCache::For(const std::vector<Group>& groups) {
    if (!stale_ && keys_.size() == groups.size()) return keys_;
    if (!gbk_) gbk_.emplace(936);
    keys_.resize(groups.size());
    for (size_t g = 0; g < groups.size(); ++g)
        if (keys_[g].titles.size() != groups[g].Items().size() ||
            keys_[g].titlesStamp != TitlesStamp(groups[g].Items()))
            keys_[g] = PrepareSearch(*gbk_, groups[g].Items());
    stale_ = false;
    return keys_;
}

}  // namespace mivra::win
