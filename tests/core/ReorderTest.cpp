#include "layout/Reorder.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <utility>

namespace mivra {
namespace {

std::string Moved(std::string order, size_t from, size_t to, size_t* position = nullptr) {
    std::vector<char> entries(order.begin(), order.end());
    const size_t at = MoveBefore(entries, from, to);
    if (position) *position = at;
    return {entries.begin(), entries.end()};
}

TEST(Reorder, DraggingOntoAnotherEntryInsertsBeforeIt) {
    size_t at = 0;
    EXPECT_EQ(Moved("ABCDE", 4, 2, &at), "ADBCE");
    EXPECT_EQ(at, 2u);
    EXPECT_EQ(Moved("ABCDE", 2, 4, &at), "ACBDE");
    EXPECT_EQ(at, 3u);
    EXPECT_EQ(Moved("ABCDE", 5, 2), "AEBCD");  // item 5 onto item 2
    // Tab 1 onto tab 4 ends at 3; tab 4 onto tab 1 ends at 1.
    EXPECT_EQ(Moved("ABCDE", 1, 4, &at), "BCADE");
    EXPECT_EQ(at, 3u);
    EXPECT_EQ(Moved("ABCDE", 4, 1, &at), "DABCE");
    EXPECT_EQ(at, 1u);
    // Onto itself, onto nothing, or from nothing: no change.
    for (const auto& [from, to] : {std::pair<size_t, size_t>{3, 3}, {3, 0}, {3, 6}, {0, 2}, {6, 2}}) {
        EXPECT_EQ(Moved("ABCDE", from, to, &at), "ABCDE") << from << "->" << to;
        EXPECT_EQ(at, from);
    }
}

// The group bar's drop: tab s exchanged with each tab from t up to s - 1, or
// from t - 1 down to s.
void DropTabByExchanges(std::vector<int>& tabs, size_t s, size_t t) {
    if (t < s)
        for (size_t i = t; i <= s - 1; ++i) std::swap(tabs[i - 1], tabs[s - 1]);
    if (t > s)
        for (size_t i = t - 1; i >= s; --i) std::swap(tabs[i - 1], tabs[s - 1]);
}

// The item panel's drop: m walks from t to p, exchanging m with p inside the span.
void DropItemByExchanges(std::vector<int>& items, long p, long t) {
    const long step = t < p ? 1 : -1;
    for (long m = t; step > 0 ? m <= p : m >= p; m += step) {
        if ((t < p && t <= m && m < p) || (t > p && p <= m && m < t)) std::swap(items[m - 1], items[p - 1]);
    }
}

TEST(Reorder, AgreesWithTheExchangeLoopsOfTabsAndItems) {
    for (size_t n = 1; n <= 9; ++n) {
        std::vector<int> start(n);
        std::iota(start.begin(), start.end(), 1);
        for (size_t from = 1; from <= n; ++from) {
            for (size_t to = 1; to <= n; ++to) {
                if (from == to) continue;
                auto moved = start;
                const size_t at = MoveBefore(moved, from, to);
                auto tabs = start;
                DropTabByExchanges(tabs, from, to);
                auto items = start;
                DropItemByExchanges(items, static_cast<long>(from), static_cast<long>(to));
                ASSERT_EQ(moved, tabs) << n << ": " << from << "->" << to;
                ASSERT_EQ(moved, items) << n << ": " << from << "->" << to;
                // The tab selected after a drop.
                ASSERT_EQ(at, from >= to ? to : to - 1) << n << ": " << from << "->" << to;
                ASSERT_EQ(moved[at - 1], static_cast<int>(from));
            }
        }
    }
}

}  // namespace
}  // namespace mivra
