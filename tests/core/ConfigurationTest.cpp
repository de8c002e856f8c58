#include "config/Configuration.h"

#include <gtest/gtest.h>

#include "IconvCodePage.h"
#include "MemoryStorage.h"
#include "config/Options.h"
#include "groups/GroupCommands.h"
#include "text/TextCoder.h"

namespace mivra {
namespace {

const test::IconvCodePage gbk("CP936");

class ConfigurationTest : public ::testing::Test {
protected:
    test::MemoryStorage storage;
    test::RecordingNotifier notifier;
    Configuration config{gbk, storage, notifier};
};

TEST_F(ConfigurationTest, FreshFileHoldsOnlyWhatDiffersFromDefaults) {
    config.SetConfig(Opt::Version, L"1.3.6", L"", true);
    config.SetConfig(Opt::Handle, L"4242", L"", true);
    config.LoadOptions();
    config.SetOption(Opt::TopMost, config.Option(Opt::TopMost));  // a handler storing the default back
    EXPECT_EQ(storage.bytes, "[Config]\r\nVersion=1.3.6\r\nHandle=4242\r\n");
    EXPECT_EQ(storage.writes, 2);

    config.SetOption(Opt::TopMost, L"0");
    EXPECT_EQ(config.Option(Opt::TopMost), L"0");
    EXPECT_NE(storage.bytes->find("TopMost=0"), std::string::npos);
    config.SetOption(Opt::TopMost, L"1");  // back to the default: the line goes
    EXPECT_EQ(storage.bytes->find("TopMost"), std::string::npos);
}

TEST_F(ConfigurationTest, OutOfRangeValuesFallBack) {
    storage.bytes =
        "[Config]\r\nAlpha=77\r\nTabBarView=7\r\nItemBarView=-1\r\nMaxBackups=-3\r\nHoverDelay=-5\r\n"
        "TopMost=2\r\nSortByCount=1\r\nItemBarIcon=x\r\nTitle=5Lit5paH\r\n";
    config.LoadOptions();
    struct Case { Opt key; std::wstring_view value; };
    for (auto [key, value] : {
             Case{Opt::Alpha, L"100"}, Case{Opt::TabBarView, L"1"}, Case{Opt::ItemBarView, L"2"},
             Case{Opt::MaxBackups, L"7"}, Case{Opt::HoverDelay, L"0"}, Case{Opt::TopMost, L"0"},
             Case{Opt::SortByCount, L"1"}, Case{Opt::ItemBarIcon, L"0"}, Case{Opt::Title, L"5Lit5paH"},
             Case{Opt::AutoHide, L"1"}, Case{Opt::HotKey, L"qwX0kZe="},
         })
        EXPECT_EQ(config.Option(key), value) << std::wstring(EntryOf(key).key);
    EXPECT_TRUE(config.Flag(Opt::SortByCount));
    EXPECT_EQ(config.Int(Opt::MaxBackups), 7);
}

TEST_F(ConfigurationTest, LockedConfigurationTakesOnlyForcedWrites) {
    storage.bytes = "[Config]\r\nLockConfig=1\r\n[Data]\r\ng=,\r\n";
    config.LoadOptions();
    ASSERT_TRUE(config.IsLocked());
    config.SetOption(Opt::TopMost, L"0");
    EXPECT_FALSE(config.SaveGroups({{L"new", {}}}).written);
    EXPECT_EQ(storage.writes, 0);
    EXPECT_EQ(config.Option(Opt::TopMost), L"0") << "the option still acts in memory";

    config.SetConfig(Opt::Version, L"1.3.6", L"", true);
    EXPECT_EQ(storage.bytes, "[Config]\r\nLockConfig=1\r\nVersion=1.3.6\r\n[Data]\r\ng=,\r\n");
}

TEST_F(ConfigurationTest, FailedWritesAreReportedOnceAndNotForTheProgramsOwnKeys) {
    storage.bytes = "";
    storage.failWrites = true;
    config.SetStartingUp(true);
    config.SetConfig(Opt::TopMost, L"0", L"1", false);
    EXPECT_TRUE(notifier.balloons.empty()) << "not while starting up";
    config.SetStartingUp(false);
    for (Opt key : {Opt::ActivatedTab, Opt::Size, Opt::Handle, Opt::Version})
        EXPECT_FALSE(config.SetConfig(key, L"9", L"", false));
    EXPECT_TRUE(notifier.balloons.empty());
    EXPECT_FALSE(config.SetConfig(Opt::TopMost, L"0", L"1", false));
    EXPECT_EQ(notifier.balloons, std::vector<std::wstring>{L"设置保存失败。"});

    // After a failure memory follows the disk, not the lost change.
    storage.failWrites = false;
    EXPECT_EQ(config.GetConfigInt(Opt::TopMost, 1), 1);
}

TEST_F(ConfigurationTest, ResetRemovesTheSettingsAndKeepsTheData) {
    storage.bytes = "[Config]\r\nTopMost=0\r\nTabBarView=3\r\n[Data]\r\ng=,\r\n";
    config.ClearConfig();
    EXPECT_EQ(storage.bytes, "[Data]\r\ng=,\r\n");
}

TEST_F(ConfigurationTest, ReadsFollowChangesMadeOnDisk) {
    storage.bytes = "[Config]\r\nHandle=1\r\n";
    EXPECT_EQ(config.GetConfigInt(Opt::Handle, 0), 1);
    storage.Replace("[Config]\r\nHandle=2\r\n");
    EXPECT_EQ(config.GetConfigInt(Opt::Handle, 0), 2);
    EXPECT_EQ(config.GetConfigInt(Opt::HoverDelay, 5), 5) << "a key the file does not hold";
}

TEST_F(ConfigurationTest, StringsAreCutTo255Bytes) {
    std::wstring chinese(200, L'中');  // 400 bytes in GBK
    std::string value = gbk.ToAnsi(chinese);
    storage.bytes = "[Config]\r\nC7S31=" + value + "\r\nTitle=" + std::string(300, 'a') + "\r\n";
    EXPECT_EQ(config.GetConfigStr(Opt::SkinCheck, L""), std::wstring(127, L'中'));
    EXPECT_EQ(config.GetConfigStr(Opt::Title, L""), std::wstring(255, L'a'));
    EXPECT_EQ(config.GetConfigStr(Opt::Version, L"def"), L"def");
}

TEST_F(ConfigurationTest, SavingGroupsRewritesOnlyTheDataSection) {
    storage.bytes = "; note\r\n[Config]\r\n  TopMost = 0 \r\n[Data]\r\nold=,\r\n[Other]\r\nx=1\r\n";
    const std::vector<Group> groups = {{L"工具", {{L"记事本", L"notepad.exe", L"", L"", L"1"}}}, {L"空", {}}};
    auto result = config.SaveGroups(groups);
    EXPECT_TRUE(result.written);
    EXPECT_TRUE(result.lossy.empty());
    const std::string& bytes = *storage.bytes;
    EXPECT_TRUE(bytes.starts_with("; note\r\n[Config]\r\n  TopMost = 0 \r\n[Data]\r\n")) << bytes;
    EXPECT_TRUE(bytes.ends_with(gbk.ToAnsi(L"空=,\r\n[Other]\r\nx=1\r\n"))) << bytes;
    EXPECT_EQ(bytes.find("old="), std::string::npos);

    auto loaded = config.LoadGroups();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->groups, groups);
    EXPECT_EQ(storage.writes, 1);
}

// Files as people have them: loading and saving again changes no byte.
TEST_F(ConfigurationTest, HandMadeFilesLoadAndSaveBackIdentically) {
    auto record = [](std::wstring_view text) {
        std::wstring e = EncodeText(gbk, text);
        return std::string(e.begin(), e.end()) + ",";
    };
    const std::string a = record(L"Title:\"a\",Path:\"C:\\a=b.exe\",IcoPath:\"\",Parm:\"\",Count:\"0\",");
    const std::string fixtures[] = {
        // GBK Chinese titles, an empty group, empty fields, and a one-letter
        // title whose "=" also stands inside its records.
        gbk.ToAnsi(L"[Config]\r\nVersion=1.3.6\r\nTitle=5Lit5paH\r\n[Data]\r\n常用工具=") +
            record(L"Title:\"记事本\",Path:\"%windir%\\notepad.exe\",IcoPath:\"\",Parm:\"\",Count:\"12\",") +
            record(L"Title:\"\",Path:\"\",IcoPath:\"\",Parm:\"\",Count:\"\",") + gbk.ToAnsi(L"\r\n空分组=,\r\n") +
            "a=" + a + a + "\r\n",
        // Data first, and no final line break.
        "[Data]\r\ng=" + a + "\r\n[Config]\r\nTopMost=0",
    };
    for (const std::string& fixture : fixtures) {
        // Saved as loaded (the records go back as they were read), and saved
        // from the items made of them (through the code page and the writer).
        for (const bool makeItems : {false, true}) {
            storage.Replace(fixture);
            auto loaded = config.LoadGroups();
            ASSERT_TRUE(loaded);
            EXPECT_TRUE(loaded->errors.empty());
            size_t stored = 0;
            for (Group& group : loaded->groups) {
                if (makeItems) group.Items();
                stored += group.Stored() != nullptr;
            }
            ASSERT_EQ(stored == 0, makeItems);
            config.SaveGroups(loaded->groups);
            EXPECT_EQ(*storage.bytes, fixture) << (makeItems ? "from the items" : "as loaded");
        }
    }
}

// The groups held in memory and what a load of the file gives are the same
// after every rename and save, whatever the user typed.
TEST_F(ConfigurationTest, NoTitleSplitsOrDuplicatesTheGroups) {
    storage.bytes = "[Config]\r\nTopMost=0\r\n[Data]\r\nA=,\r\n";
    std::vector<Group> groups = config.LoadGroups()->groups;
    AddGroup(groups, L"B");
    const auto titles = [](const std::vector<Group>& gs) {
        std::vector<std::wstring> t;
        for (const Group& g : gs) t.push_back(g.title);
        return t;
    };
    for (const std::wstring typed : {L"[x]", L"[x]", L"[x]", L" [y] ", L"a=b", L"line\r\nbreak", L"\t", L";note",
                                     L"[Config]", L"x\x1a"}) {
        RenameGroup(groups, 2, typed);
        ASSERT_TRUE(config.SaveGroups(groups).written);
        EXPECT_EQ(titles(config.LoadGroups()->groups), titles(groups)) << typed << "\n" << *storage.bytes;
        config.SetConfig(Opt::TopMost, L"1", L"1", false);  // a settings write changes no group
        config.SetConfig(Opt::TopMost, L"0", L"1", false);
        EXPECT_EQ(config.LoadGroups()->groups, groups) << typed;
        EXPECT_EQ(config.Option(Opt::TopMost), L"1") << "the option store is not the file";
    }
}

// Files made by hand or by older writers: a group line that opens a section,
// two empty titles in a row (which the system's writer drops), a title with
// a NUL. Loading gives every group a usable title; no settings write loses
// a group; a save puts them all into section "Data" once.
TEST_F(ConfigurationTest, OddGroupLinesAreKeptAndWrittenBackOnce) {
    storage.bytes = "[Config]\r\nTopMost=0\r\n[Data]\r\n=,\r\n=,\r\n" + std::string("n\0ul=,\r\n", 8) +
                    "[x]=,\r\nafter=,\r\n[Other]\r\nk=v\r\n";
    const auto titles = [](const std::vector<Group>& gs) {
        std::vector<std::wstring> t;
        for (const Group& g : gs) t.push_back(g.title);
        return t;
    };
    const std::vector<std::wstring> expected = {L"1分组", L"2分组", L"nul", L"x]", L"after"};
    EXPECT_EQ(titles(config.LoadGroups()->groups), expected);
    EXPECT_TRUE(config.SetConfig(Opt::TopMost, L"1", L"1", false));
    EXPECT_EQ(titles(config.LoadGroups()->groups), expected) << "a settings write drops no group line";

    const std::vector<Group> loaded = config.LoadGroups()->groups;
    ASSERT_TRUE(config.SaveGroups(loaded).written);
    EXPECT_EQ(titles(config.LoadGroups()->groups), expected) << *storage.bytes;
    // The line that was a header as well stays a header, a plain one.
    EXPECT_EQ(*storage.bytes, gbk.ToAnsi(L"[Config]\r\n[Data]\r\n1分组=,\r\n2分组=,\r\nnul=,\r\nx]=,\r\nafter=,\r\n[x]\r\n"
                                         L"[Other]\r\nk=v\r\n"));
}

TEST_F(ConfigurationTest, MissingFileLoadsNoGroups) {
    EXPECT_FALSE(config.LoadGroups());
    EXPECT_FALSE(config.Unreadable());
    EXPECT_TRUE(config.SetConfig(Opt::Version, L"1.3.6", L"", true)) << "a missing file is made";
}

// A file that exists but cannot be read (held by a backup or scanning tool)
// is never taken for an empty one: nothing is written to it, reads answer
// from what was read before, the user is told once, and once it can be read
// again changes go into what it holds.
TEST(UnreadableConfiguration, IsNeverWrittenOver) {
    enum class Moment { Start, ChangedOnDisk, DataSave };
    const std::string onDisk = "[Config]\r\nTopMost=0\r\nC7S31=123\r\n[Data]\r\ng=,\r\n";
    for (const Moment moment : {Moment::Start, Moment::ChangedOnDisk, Moment::DataSave}) {
        SCOPED_TRACE(static_cast<int>(moment));
        test::MemoryStorage storage;
        test::RecordingNotifier notifier;
        Configuration config(gbk, storage, notifier);
        storage.bytes = onDisk;
        if (moment != Moment::Start) {
            config.LoadOptions();
            ASSERT_TRUE(config.LoadGroups());
            storage.Replace(onDisk + "Alpha=50\r\n");  // written by someone else: read again when needed
        }
        storage.failReads = true;
        const std::string held = *storage.bytes;

        config.LoadOptions();
        EXPECT_EQ(config.Option(Opt::TopMost), moment == Moment::Start ? L"1" : L"0") << "what was read before";
        EXPECT_EQ(config.GetConfigStr(Opt::SkinCheck, L""), moment == Moment::Start ? L"" : L"123");
        EXPECT_TRUE(config.Unreadable());
        EXPECT_FALSE(config.SetConfig(Opt::Version, L"1.3.6", L"", true)) << "not even a forced write";
        EXPECT_FALSE(config.SetConfig(Opt::TopMost, L"1", L"1", false));
        EXPECT_FALSE(config.LoadGroups()) << "no groups from a file that cannot be read";
        EXPECT_FALSE(config.SaveGroups({{L"mine", {}}}).written);
        EXPECT_EQ(*storage.bytes, held);
        EXPECT_EQ(storage.writes, 0);
        EXPECT_EQ(notifier.balloons, std::vector<std::wstring>{kUnreadableBalloon});

        storage.failReads = false;
        EXPECT_TRUE(config.SetConfig(Opt::Version, L"1.3.6", L"", true));
        EXPECT_EQ(*storage.bytes, "[Config]\r\nTopMost=0\r\nC7S31=123\r\nVersion=1.3.6\r\n[Data]\r\ng=,\r\n" +
                                      std::string(moment == Moment::Start ? "" : "Alpha=50\r\n"))
            << "the change goes into what the file holds";
        EXPECT_FALSE(config.Unreadable());
        EXPECT_EQ(notifier.balloons.size(), 1u);
    }
}

TEST(Options, EveryOptionHasOneEntryAndDefaultsReadAsThemselves) {
    for (const OptionEntry& option : AllOptions()) {
        EXPECT_EQ(FindOption(option.key), &option) << std::wstring(option.key);
        EXPECT_EQ(&EntryOf(option.id), &option);
        if (option.kind == OptionKind::Flag || option.kind == OptionKind::Integer) {
            EXPECT_EQ(EffectiveValue(option, std::wstring(option.defaultValue)), option.defaultValue)
                << std::wstring(option.key);
        }
    }
    EXPECT_EQ(FindOption(L"NoSuchKey"), nullptr);
}

}  // namespace
}  // namespace mivra
