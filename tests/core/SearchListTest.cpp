#include "items/SearchList.h"

#include <gtest/gtest.h>

#include "IconvCodePage.h"

namespace mivra {
namespace {

constexpr wchar_t kProgram[] = L"D:\\Mivra\\Mivra.exe";
constexpr wchar_t kConsole[] = L"%SystemRoot%\\system32\\cmd.exe";

TEST(SearchCommandItem, Forms) {
    struct Case {
        std::wstring text;
        std::optional<ItemRecord> item;  // count is always "0"
    };
    const auto item = [](std::wstring title, std::wstring path, std::wstring icoPath, std::wstring argument) {
        return std::optional<ItemRecord>(ItemRecord{title, path, icoPath, argument, L"0"});
    };
    const Case cases[] = {
        {L"<", item(L"请输入命令", kProgram, kProgram, L"")},
        {L"<notepad a.txt", item(L"运行 notepad a.txt", L"notepad", kProgram, L"a.txt")},
        {L"<calc", item(L"运行 calc", L"calc", kProgram, L"")},
        {L"<a b c", item(L"运行 a b c", L"a", kProgram, L"b c")},
        {L">", item(L"请输入命令", kConsole, kConsole, L"")},
        {L">dir", item(L"dir", kConsole, kConsole, L"/k dir")},
        {L":b", item(L"百度搜索", L"", kProgram, L"")},
        {L":B cats", item(L"百度搜索  cats", L"https://www.baidu.com/s?wd= cats", kProgram, L"")},
        {L":bcats", item(L"百度搜索 cats", L"https://www.baidu.com/s?wd=cats", kProgram, L"")},
        {L":G", item(L"谷歌搜索", L"", kProgram, L"")},
        {L":gx y", item(L"谷歌搜索 x y", L"https://www.google.com/search?q=x y", kProgram, L"")},
        {L":x", std::nullopt},
        {L":", std::nullopt},
        {L"resetting", item(L"进入设置", kProgram, kProgram, L"setting")},
        {L"Setting", std::nullopt},  // case-sensitive
        {L"rebootshutdown", item(L"关机", kProgram, kProgram, L"shutdown")},
        {L"logoff", item(L"注销", kProgram, kProgram, L"logoff")},
        {L"xscreenoff", item(L"关闭显示器", kProgram, kProgram, L"screenoff")},
        {L"reboot", item(L"重启", kProgram, kProgram, L"reboot")},
        {L"qq", std::nullopt},
        {L"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(CommandItemFor(c.text, kProgram), c.item) << c.text;
}

// Every group is searched in tab order; the results carry their origin and
// stay paired with it through the sort by count.
TEST(SearchList, GroupMatchesKeepTheirOriginThroughTheSort) {
    const test::IconvCodePage gbk("CP936");
    const std::vector<Group> groups = {
        {L"工具", {{L"QQ音乐", L"q.exe", L"", L"", L"3"}, {L"Notepad", L"n.exe", L"", L"-x", L"9"}}},
        {L"空", {}},
        {L"游戏", {{L"音乐", L"m.exe", L"m.ico", L"", L"3"}, {L"", L"blank.exe", L"", L"", L"50"}}},
    };
    std::vector<SearchKeys> keys;
    for (const Group& g : groups) keys.push_back(PrepareSearch(gbk, g.Items()));

    // The command item comes first and takes part in the sort; "YL" finds
    // 音乐 by its initials.
    SearchList list;
    list.AddItem2({L"stale", L"", L"", L"", L"0"}, {});
    FillSearchList(list, CommandItemFor(L"<yl", kProgram), groups, keys, L"YL");
    ASSERT_EQ(list.size(), 3u);
    // The same order as sorting the list built in search order.
    SearchList built;
    built.AddItem2(*CommandItemFor(L"<yl", kProgram), {});
    for (size_t g = 0; g < groups.size(); ++g)
        for (size_t number : SearchItems(L"YL", keys[g]))
            built.AddItem2({SearchResultTitle(groups[g].Items()[number - 1], groups[g].title), groups[g].Items()[number - 1].path,
                            groups[g].Items()[number - 1].icoPath, groups[g].Items()[number - 1].argument,
                            groups[g].Items()[number - 1].count},
                           {g + 1, number});
    SortByLaunchCount(built);
    EXPECT_EQ(list.items, built.items);
    EXPECT_EQ(list.origins, built.origins);

    const std::vector<std::pair<std::wstring, ItemOrigin>> expected = {
        {L"QQ音乐 [工具]", {1, 1}}, {L"音乐 [游戏]", {3, 1}}, {L"运行 yl", {}},
    };
    ASSERT_EQ(list.origins.size(), list.items.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(list.items[i].title, expected[i].first) << i;
        EXPECT_EQ(list.origins[i], expected[i].second) << i;
        if (!list.origins[i].IsEmpty()) {
            const ItemRecord& source = groups[list.origins[i].group - 1].Items()[list.origins[i].item - 1];
            EXPECT_EQ(list.items[i].path, source.path) << i;
            EXPECT_EQ(list.items[i].count, source.count) << i;
        }
    }
    // Keys of a group that has since lost items never point past its end.
    std::vector<Group> shrunk = groups;
    shrunk[2].Items().pop_back();
    shrunk[2].Items().pop_back();
    SearchList stale;
    FillSearchList(stale, std::nullopt, shrunk, keys, L"音乐");
    EXPECT_EQ(stale.size(), 1u);
}

}  // namespace
}  // namespace mivra
