#include "items/ItemSort.h"

#include <gtest/gtest.h>

#include <random>

namespace mivra {
namespace {

ItemRecord Item(std::wstring title, std::wstring count = L"", std::wstring path = L"") {
    return {std::move(title), std::move(path), L"", L"", std::move(count)};
}

std::vector<std::wstring> Titles(const std::vector<ItemRecord>& items) {
    std::vector<std::wstring> titles;
    for (const auto& item : items) titles.push_back(item.title + L"(" + item.count + L")");
    return titles;
}

TEST(ItemSort, LowerCasesLettersOfAnyScript) {
    EXPECT_EQ(LowerCaseText(L"AbC \x00c9\x00e9 \x0391\x0416 \xff21 \x4e2d"), L"abc \x00e9\x00e9 \x03b1\x0436 \xff41 \x4e2d");
}

TEST(ItemSort, LaunchCountIsTheLeadingIntegerWithinIntRange) {
    const std::pair<std::wstring, long long> cases[] = {
        {L"", 0}, {L"abc", 0}, {L"12", 12}, {L" 7x", 7}, {L"-3", -3},
        {L"99999999999", 2147483647}, {L"-99999999999", -2147483648LL},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(LaunchCount(text), value) << text;
}

TEST(ItemSort, Examples) {
    std::vector<ItemRecord> items = {Item(L"b"), Item(L"A"), Item(L"a")};
    EXPECT_TRUE(SortItems(items, SortMode::ByTitle, false));
    EXPECT_EQ(Titles(items), (std::vector<std::wstring>{L"A()", L"a()", L"b()"}));

    items = {Item(L"y", L"3"), Item(L"x", L"5"), Item(L"z", L"5")};
    EXPECT_TRUE(SortItems(items, SortMode::ByCount, false));
    EXPECT_EQ(Titles(items), (std::vector<std::wstring>{L"x(5)", L"z(5)", L"y(3)"}));

    items = {Item(L"b", L"", L"\\B"), Item(L"c", L"", L"\\a")};
    EXPECT_TRUE(SortItems(items, SortMode::ByPath, false));
    EXPECT_EQ(Titles(items), (std::vector<std::wstring>{L"c()", L"b()"}));
}

TEST(ItemSort, TitleAndPathModesDoNothingWhileSortingByCount) {
    const std::vector<ItemRecord> unsorted = {Item(L"b", L"1", L"\\b"), Item(L"a", L"2", L"\\a")};
    for (int mode : {1, 2}) {
        auto items = unsorted;
        EXPECT_FALSE(SortItems(items, static_cast<SortMode>(mode), true)) << mode;
        EXPECT_EQ(items, unsorted) << mode;
    }
    for (int mode : {0, 4}) {
        auto items = unsorted;
        EXPECT_FALSE(SortItems(items, static_cast<SortMode>(mode), false)) << mode;
        EXPECT_EQ(items, unsorted) << mode;
    }
    auto items = unsorted;
    EXPECT_TRUE(SortItems(items, SortMode::ByCount, true));
    EXPECT_EQ(items.front().title, L"a");
}

// The literal selection sort by exchanges that SortItems must reproduce.
std::vector<ItemRecord> ReferenceSort(std::vector<ItemRecord> items, int mode) {
    auto before = [mode](const ItemRecord& a, const ItemRecord& b) {
        if (mode == 2) return LowerCaseText(a.path) < LowerCaseText(b.path);
        if (mode == 3 && LaunchCount(a.count) != LaunchCount(b.count)) return LaunchCount(a.count) > LaunchCount(b.count);
        return LowerCaseText(a.title) < LowerCaseText(b.title);
    };
    for (size_t i = 0; i < items.size(); ++i) {
        size_t m = i;
        for (size_t j = i; j < items.size(); ++j)
            if (before(items[j], items[m])) m = j;
        if (m != i) std::swap(items[i], items[m]);
    }
    return items;
}

// Many ties: tiny alphabets, titles differing only by case, repeated counts.
// Every item has a distinct argument, so the exact unstable order is checked.
TEST(ItemSort, MatchesTheSelectionSortOnRandomInputs) {
    const std::wstring letters = L"aAbB\x00e9\x00c9";
    const std::wstring counts[] = {L"", L"0", L"1", L"2", L"x", L" 2", L"-1", L"99999999999", L"2147483647"};
    std::mt19937 random(20261210);
    auto text = [&](size_t maxLength) {
        std::wstring s(random() % (maxLength + 1), L' ');
        for (auto& c : s) c = letters[random() % letters.size()];
        return s;
    };
    for (int round = 0; round < 150; ++round) {
        const size_t n = round < 20 ? round : random() % 201;
        std::vector<ItemRecord> items(n);
        for (size_t k = 0; k < n; ++k)
            items[k] = {text(2), text(2), L"", std::to_wstring(k), counts[random() % std::size(counts)]};
        for (int mode : {1, 2, 3}) {
            auto sorted = items;
            ASSERT_TRUE(SortItems(sorted, static_cast<SortMode>(mode), false));
            ASSERT_EQ(sorted, ReferenceSort(items, mode)) << "mode " << mode << ", round " << round;
        }
    }
}

}  // namespace
}  // namespace mivra
