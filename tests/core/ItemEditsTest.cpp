#include "items/ItemEdits.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "IconvCodePage.h"
#include "data/DataFile.h"

namespace mivra {
namespace {

const test::IconvCodePage gbk("CP936");

class FakeSources final : public ItemSources {
public:
    std::map<std::wstring, std::wstring> advertised;
    std::map<std::wstring, ShortcutTarget> shortcuts;
    std::map<std::wstring, std::string> files;
    std::set<std::wstring> existing;
    std::wstring programFiles = L"C:\\Program Files (x86)";

    std::optional<std::wstring> AdvertisedShortcutPath(std::wstring_view s) override { return Find(advertised, s); }
    std::optional<ShortcutTarget> ReadShortcut(std::wstring_view s) override { return Find(shortcuts, s); }
    std::optional<std::string> ReadFile(std::wstring_view p) override { return Find(files, p); }
    bool Exists(std::wstring_view p) override { return existing.contains(std::wstring(p)); }
    std::optional<std::wstring> Environment(std::wstring_view name) override {
        if (name == L"ProgramFiles") return programFiles;
        return std::nullopt;
    }

private:
    template <typename Map>
    static std::optional<typename Map::mapped_type> Find(const Map& map, std::wstring_view key) {
        auto it = map.find(std::wstring(key));
        if (it == map.end()) return std::nullopt;
        return it->second;
    }
};

TEST(ItemEdits, CountsAreWholeNumbers) {
    struct Case { std::wstring_view given, stored; };
    for (auto [given, stored] : {
             Case{L"abc", L"0"}, Case{L"", L"0"}, Case{L"007", L"7"}, Case{L"2.5", L"2"}, Case{L"3.5", L"4"},
             Case{L"-4", L"-4"}, Case{L" 12 ", L"12"}, Case{L"1e3", L"1000"}, Case{L"12abc", L"0"},
             Case{L"99999999999", L"0"}, Case{L".", L"0"}, Case{L"0.49", L"0"},
         })
        EXPECT_EQ(NormalizeCount(given), stored) << std::wstring(given);
}

TEST(ItemEdits, DroppedFileTitles) {
    struct Case { std::wstring_view path, title; };
    for (auto [path, title] : {
             Case{L"C:\\Tools\\Notepad++.exe", L"Notepad++"}, Case{L"C:\\a.b\\Tom & Jerry.mp4", L"Tom && Jerry"},
             Case{L"C:\\Games\\README", L"README"}, Case{L"D:\\下载\\资料.tar.gz", L"资料.tar"},
             Case{L"C:\\folder.with.dots\\sub", L"sub"}, Case{L"E:\\", L""},
         })
        EXPECT_EQ(DroppedFileTitle(path), title) << std::wstring(path);
}

TEST(ItemEdits, ShortcutsArePreferablyFollowedToThe64BitFolder) {
    FakeSources sources;
    const std::wstring x86 = L"C:\\Program Files (x86)\\App\\app.exe", x64 = L"C:\\Program Files\\App\\app.exe";
    sources.shortcuts[L"C:\\d\\app.lnk"] = {x86, L"--fast \"a b\""};

    sources.existing = {x64};  // only under the 64-bit folder
    EXPECT_EQ(ResolveAddedTarget(sources, gbk, L"app", L"C:\\d\\app.lnk", L"", L""),
              (AddedTarget{x64, x64, L"--fast \"a b\""}));
    sources.existing = {x64, x86};  // under both: the 64-bit one wins
    sources.shortcuts[L"C:\\d\\UP.LNK"] = {x86, L""};  // the extension in any letter case
    EXPECT_EQ(ResolveAddedTarget(sources, gbk, L"up", L"C:\\d\\UP.LNK", L"", L"").path, x64);
    EXPECT_EQ(ResolveAddedTarget(sources, gbk, L"app", L"C:\\d\\app.lnk", L"", L"").path, x64);
    sources.existing = {};  // under neither: the reported target
    EXPECT_EQ(ResolveAddedTarget(sources, gbk, L"app", L"C:\\d\\app.lnk", L"", L"").path, x86);

    sources.advertised[L"C:\\d\\app.lnk"] = L"C:\\Installed\\app.exe";
    EXPECT_EQ(ResolveAddedTarget(sources, gbk, L"app", L"C:\\d\\app.lnk", L"i", L"arg"),
              (AddedTarget{L"C:\\Installed\\app.exe", L"C:\\Installed\\app.exe", L""}));

    // No target (or unreadable): what was given stays.
    sources.shortcuts[L"C:\\d\\none.lnk"] = {L"", L"x"};
    EXPECT_EQ(ResolveAddedTarget(sources, gbk, L"t", L"C:\\d\\none.lnk", L"C:\\i.ico", L"a"),
              (AddedTarget{L"C:\\d\\none.lnk", L"C:\\i.ico", L"a"}));
    EXPECT_EQ(ResolveAddedTarget(sources, gbk, L"t", L"C:\\d\\gone.lnk", L"", L"").path, L"C:\\d\\gone.lnk");
}

TEST(ItemEdits, InternetShortcutsGiveTheirAddress) {
    FakeSources sources;
    sources.files[L"C:\\d\\site.URL"] = "[InternetShortcut]\r\nURL=https://example.com/\xd6\xd0\r\nIconIndex=0\r\n";
    sources.files[L"C:\\d\\nocr.website"] = "[InternetShortcut]\nURL=https://example.com/\n";
    sources.files[L"C:\\d\\nourl.url"] = "[InternetShortcut]\r\n";
    const std::wstring site = L"https://example.com/中";
    EXPECT_EQ(ResolveAddedTarget(sources, gbk, L"s", L"C:\\d\\site.URL", L"x", L"y"), (AddedTarget{site, site, L""}));
    EXPECT_EQ(ResolveAddedTarget(sources, gbk, L"s", L"C:\\d\\nocr.website", L"", L""), AddedTarget{});
    EXPECT_EQ(ResolveAddedTarget(sources, gbk, L"s", L"C:\\d\\nourl.url", L"", L""), AddedTarget{});
    EXPECT_EQ(ResolveAddedTarget(sources, gbk, L"s", L"C:\\d\\missing.url", L"", L""), AddedTarget{});
}

TEST(ItemEdits, WebAddressesNetworkPathsAndBlankItems) {
    FakeSources sources;
    EXPECT_EQ(ResolveAddedTarget(sources, gbk, L"w", L"https://example.com", L"", L"q"),
              (AddedTarget{L"https://example.com", L"https://example.com", L"q"}));
    EXPECT_EQ(ResolveAddedTarget(sources, gbk, L"n", L"\\\\server\\share\\a.lnk", L"i", L""),
              (AddedTarget{L"\\\\server\\share\\a.lnk", L"i", L""}));
    EXPECT_EQ(ResolveAddedTarget(sources, gbk, L"", L"", L"ignored", L"ignored"), AddedTarget{});
    EXPECT_EQ(ResolveAddedTarget(sources, gbk, L"t", L"", L"i", L"a"), (AddedTarget{L"", L"i", L"a"}));
}

// A dropped file's name is its title and part of its path. Fullwidth forms
// that spell a record's field openings are kept on a code page that has
// them (936) and turn into "?" on one that has not (1252): never into the
// ASCII characters that would carry another path or arguments into the
// record. And a shortcut whose arguments the record cannot carry is not added.
TEST(ItemEdits, NothingAddedCanStartSomethingElseAfterALoad) {
    const test::IconvCodePage latin("CP1252");
    const std::wstring path = L"C:\\下载\\＂，Path：＂D：＼evil.exe＂，Parm：＂-x.txt";
    for (const test::IconvCodePage* codePage : {&gbk, &latin}) {
        FakeSources sources;
        std::vector<ItemRecord> items;
        ASSERT_TRUE(AddItem(items, sources, *codePage, DroppedFileTitle(path), path, path, L"", L"0"));
        std::vector<LossyText> lossy;
        const std::string file = "[Data]\r\n" + DataSectionLines(*codePage, {Group(L"g", items)}, &lossy)[0] + "\r\n";
        const ItemRecord loaded = LoadData(*codePage, file).groups[0].Items()[0];
        const auto kept = [&](const std::wstring& text) { return codePage->FromAnsi(codePage->ToAnsi(text)); };
        EXPECT_EQ(loaded.path, kept(path));
        EXPECT_EQ(loaded.argument, L"") << "no argument came in through the name";
        EXPECT_EQ(lossy.empty(), codePage == &gbk) << "what the code page lost is reported";
        EXPECT_EQ(loaded.path == path, codePage == &gbk);
    }

    FakeSources sources;
    sources.shortcuts[L"C:\\a.lnk"] = {L"C:\\tool.exe", L"--x \",Count:\"999\","};
    std::vector<ItemRecord> items;
    EXPECT_FALSE(AddItem(items, sources, gbk, L"a", L"C:\\a.lnk", L"C:\\a.lnk", L"", L"0"));
    EXPECT_TRUE(items.empty());
}

TEST(ItemEdits, AddEditSwap) {
    FakeSources sources;
    std::vector<ItemRecord> items;
    AddItem(items, sources, gbk, L"", L"", L"", L"", L"0");
    AddItem(items, sources, gbk, L"记事本", L"C:\\n.exe", L"C:\\n.exe", L"", L"007");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_TRUE(IsBlankItem(items[0]));
    EXPECT_EQ(items[1].count, L"7");

    EXPECT_TRUE(EditItem(items, 2, L"Notes", L"C:\\m.exe", L"", L"-x"));
    EXPECT_EQ(items[1], (ItemRecord{L"Notes", L"C:\\m.exe", L"", L"-x", L"7"})) << "the count stays";
    EXPECT_FALSE(EditItem(items, 3, L"", L"", L"", L""));

    EXPECT_TRUE(SwapItems(items, 1, 2));
    EXPECT_EQ(items[0].title, L"Notes");
    EXPECT_TRUE(SwapItems(items, 2, 2));
    EXPECT_FALSE(SwapItems(items, 0, 1));
    EXPECT_FALSE(SwapItems(items, 1, 3));
}

}  // namespace
}  // namespace mivra
