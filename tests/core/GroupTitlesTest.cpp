#include "data/GroupTitles.h"

#include <gtest/gtest.h>

namespace mivra {
namespace {

TEST(GroupTitles, UniqueTitles) {
    using Titles = std::vector<std::wstring>;
    EXPECT_EQ(UniqueTitle({L"Work"}, L"Work", 0), L"2 Work");
    EXPECT_EQ(UniqueTitle({L"Work", L"2 Work"}, L"Work", 0), L"3 Work");
    // A clash with a numbered title found later rescans from the start.
    EXPECT_EQ(UniqueTitle({L"2 Work", L"Work"}, L"Work", 0), L"3 Work");
    EXPECT_EQ(UniqueTitle({L"work"}, L"Work", 0), L"Work");
    // Renaming: the tab itself does not count, another tab does.
    EXPECT_EQ(UniqueTitle({L"Work", L"Play"}, L"Work", 1), L"Work");
    EXPECT_EQ(UniqueTitle({L"Work", L"Play"}, L"Play", 1), L"2 Play");

    // A new third group without a name.
    const Titles two = {L"1分组", L"Docs"};
    EXPECT_EQ(UniqueTitle(two, DefaultGroupTitle(3), 3), L"3分组");
    const Titles taken = {L"3分组", L"Docs"};
    EXPECT_EQ(UniqueTitle(taken, DefaultGroupTitle(3), 3), L"2 3分组");
}

// A title is the key of its line: nothing that would make the line read as
// a section, end the key early, split or cut the line is left in it.
TEST(GroupTitles, TitlesAreCleaned) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"  My Tools  ", L"My Tools"}, {L"   ", L""},          {L"=", L""},
        {L"= =", L""},                  {L"a=b", L"ab"},        {L" = x = ", L"x"},
        {L"\tTab\t", L"Tab"},           {L"工具", L"工具"},      {L"[x]", L"x]"},
        {L" [ [Work]", L"Work]"},       {L"a[b]", L"a[b]"},     {L"[", L""},
        {L"line\r\nbreak", L"linebreak"}, {std::wstring(L"nu\0l", 4), L"nul"}, {L"\x1a\x0b;note", L";note"},
        {L"\x3000全角\x3000", L"\x3000全角\x3000"},
    };
    for (const auto& [typed, clean] : cases) EXPECT_EQ(CleanGroupTitle(typed), clean) << typed;
}

TEST(GroupTitles, MissingTitlesAreGivenInOnePass) {
    std::vector<Group> groups = {Group(L""), Group(L"2分组"), Group(L""), Group(L"Work")};
    GiveMissingTitles(groups);
    std::vector<std::wstring> titles;
    for (const Group& g : groups) titles.push_back(g.title);
    EXPECT_EQ(titles, (std::vector<std::wstring>{L"1分组", L"2分组", L"3分组", L"Work"}));

    std::vector<Group> clash = {Group(L"2分组"), Group(L"")};
    GiveMissingTitles(clash);
    EXPECT_EQ(clash[1].title, L"2 2分组");
}

}  // namespace
}  // namespace mivra
