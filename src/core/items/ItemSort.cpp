#include "items/ItemSort.h"

#include <algorithm>
#include <climits>
#include <numeric>
#include <utility>

#include "text/CaseFold.h"
#include "text/Strings.h"

namespace mivra {
namespace {

// Rank of each item's key: equal keys share a rank, a smaller rank sorts first.
template <class Key>
std::vector<size_t> RankKeys(const std::vector<Key>& keys) {
    std::vector<size_t> order(keys.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    std::vector<size_t> rank(keys.size());
    for (size_t k = 0, r = 0; k < order.size(); ++k) {
        if (k > 0 && keys[order[k - 1]] < keys[order[k]]) ++r;
        rank[order[k]] = r;
    }
    return rank;
}

// Replays the selection sort by exchanges in O(n log n): a segment tree over
// positions yields the first position holding the smallest rank in [i, n).
std::vector<size_t> SelectionOrder(std::vector<size_t> rankAt) {
    const size_t n = rankAt.size();
    std::vector<size_t> itemAt(n);
    std::iota(itemAt.begin(), itemAt.end(), size_t{0});
    size_t leaves = 1;
    while (leaves < n) leaves *= 2;
    constexpr size_t kNone = SIZE_MAX;
    std::vector<size_t> tree(2 * leaves, kNone);  // a position, or kNone
    auto better = [&](size_t a, size_t b) {
        if (a == kNone) return b;
        if (b == kNone) return a;
        return rankAt[b] < rankAt[a] ? b : a;  // ties keep the earlier position
    };
    auto set = [&](size_t pos, size_t value) {
        size_t node = leaves + pos;
        tree[node] = value;
        for (node /= 2; node >= 1; node /= 2) tree[node] = better(tree[2 * node], tree[2 * node + 1]);
    };
    for (size_t p = 0; p < n; ++p) tree[leaves + p] = p;
    for (size_t node = leaves - 1; node >= 1; --node) tree[node] = better(tree[2 * node], tree[2 * node + 1]);
    for (size_t i = 0; i < n; ++i) {
        // Positions before i have been cleared, so the root covers [i, n).
        const size_t m = tree[1];
        if (m != i) {
            std::swap(rankAt[i], rankAt[m]);
            std::swap(itemAt[i], itemAt[m]);
            set(m, m);
        }
        set(i, kNone);
    }
    return itemAt;
}

}  // namespace

std::wstring LowerCaseText(std::wstring_view text) {
    std::wstring out(text.size(), L'\0');
    std::transform(text.begin(), text.end(), out.begin(), FoldCase);
    return out;
}

long long LaunchCount(std::wstring_view count) {
    return std::clamp<long long>(LeadingInteger(count), INT_MIN, INT_MAX);
}

namespace {

// Every item's key text lower-cased into one buffer: one allocation for the
// whole group instead of one per item.
std::vector<std::wstring_view> LowerCaseKeys(const std::vector<ItemRecord>& items, std::wstring ItemRecord::*field,
                                             std::wstring& buffer) {
    size_t total = 0;
    for (const auto& item : items) total += (item.*field).size();
    buffer.resize(total);
    std::vector<std::wstring_view> keys;
    keys.reserve(items.size());
    size_t at = 0;
    for (const auto& item : items) {
        const std::wstring& text = item.*field;
        std::transform(text.begin(), text.end(), buffer.begin() + static_cast<std::ptrdiff_t>(at), FoldCase);
        keys.emplace_back(buffer.data() + at, text.size());
        at += text.size();
    }
    return keys;
}

}  // namespace

std::vector<size_t> OrderByCount(const std::vector<CountKey>& keys) {
    std::vector<std::pair<long long, std::wstring_view>> ranked;
    ranked.reserve(keys.size());
    for (const CountKey& key : keys) ranked.emplace_back(-key.count, key.lowerTitle);
    return SelectionOrder(RankKeys(ranked));
}

std::vector<size_t> SortOrder(const std::vector<ItemRecord>& items, SortMode mode) {
    std::vector<size_t> rank;
    std::wstring buffer;
    if (mode == SortMode::ByTitle || mode == SortMode::ByPath) {
        rank = RankKeys(LowerCaseKeys(items, mode == SortMode::ByTitle ? &ItemRecord::title : &ItemRecord::path, buffer));
    } else if (mode == SortMode::ByCount) {
        const std::vector<std::wstring_view> titles = LowerCaseKeys(items, &ItemRecord::title, buffer);
        std::vector<CountKey> keys;
        keys.reserve(items.size());
        for (size_t i = 0; i < items.size(); ++i) keys.push_back({LaunchCount(items[i].count), titles[i]});
        return OrderByCount(keys);
    } else {
        return {};
    }
    return SelectionOrder(std::move(rank));
}

bool SortItems(std::vector<ItemRecord>& items, SortMode mode, bool sortByCount) {
    const bool known = mode == SortMode::ByTitle || mode == SortMode::ByPath || mode == SortMode::ByCount;
    if (!known || (mode != SortMode::ByCount && sortByCount)) return false;
    ApplyOrder(items, SortOrder(items, mode));
    return true;
}

}  // namespace mivra
