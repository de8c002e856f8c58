// The configuration file on disk: atomic saves, the daily backups, export,
// import, and the copy kept of a file whose data could not be read.

#include <gtest/gtest.h>

#include <random>

#include "base/Files.h"
#include "base/WinCodePage.h"
#include "config/BackupFiles.h"
#include "config/DataLoading.h"
#include "config/FileConfigStorage.h"
#include "support/SaveContent.h"
#include "MemoryStorage.h"
#include "support/TestSupport.h"
#include "text/TextCoder.h"

namespace mivra::test {
namespace {

using namespace std::chrono_literals;

std::vector<std::wstring> FileNames(const std::filesystem::path& dir) {
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(AtomicSave, AKilledWriterLeavesAWholeFileEveryTime) {
    ScratchDir scratch;
    const std::filesystem::path file = scratch / L"Mivra.cfg";
    WriteBytes(file, SaveContent(0));
    std::mt19937 random(20261210);
    long long newest = 0;
    for (unsigned round = 1; round <= 150; ++round) {
        const unsigned first = round * 100000;
        Process writer = StartProcess(QuoteArgument(PathFromEnvironment(L"MIVRA_SAVE_WRITER_EXE")) + L" " +
                                      QuoteArgument(file) + L" " + std::to_wstring(first));
        ASSERT_TRUE(writer.handle) << "round " << round << ", error " << GetLastError();
        // Once the writer is saving, kill it at a random moment of its work.
        ASSERT_TRUE(WaitUntil([&] { return WholeSaveSequence(ReadBytes(file)) >= first; }, 20s)) << "round " << round;
        Sleep(std::uniform_int_distribution<int>(0, 40)(random));
        TerminateProcess(writer.handle.get(), 1);
        WaitForExit(writer, 10s);

        const long long sequence = WholeSaveSequence(ReadBytes(file));
        ASSERT_GE(sequence, 0) << "round " << round << ": the file is torn";
        ASSERT_GE(sequence, newest) << "round " << round << ": an older save came back";
        newest = sequence;
    }
}

TEST(AtomicSave, ReplacesAndLeavesNothingBeside) {
    ScratchDir scratch;
    const std::wstring file = scratch / L"Mivra.cfg";
    EXPECT_TRUE(win::WriteFileAtomically(file, "first"));
    EXPECT_TRUE(win::WriteFileAtomically(file, "second, longer"));
    EXPECT_EQ(ReadBytes(file), "second, longer");
    EXPECT_EQ(FileNames(scratch.path()), std::vector<std::wstring>{L"Mivra.cfg"});

    // Its attributes stay (a file the user hid stays hidden), and a file of
    // the old fixed staging name, held by another process, is not in the way.
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteBytes(file + L".new", "another writer's");
    {
        win::UniqueFile held(CreateFileW((file + L".new").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_TRUE(win::WriteFileAtomically(file, "hidden"));
    }
    EXPECT_EQ(ReadBytes(file), "hidden");
    EXPECT_NE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(FileNames(scratch.path()), (std::vector<std::wstring>{L"Mivra.cfg", L"Mivra.cfg.new"}));
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove(file + L".new");

    // A file the user made read-only is not replaced, and stays as it was.
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(win::WriteFileAtomically(file, "third"));
    EXPECT_EQ(ReadBytes(file), "hidden");
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

class DailyBackup : public ::testing::Test {
protected:
    void SetUp() override { WriteBytes(config_, "[Config]\r\nVersion=1\r\n"); }
    void Backup(int maxBackups, int day) {
        win::MakeDailyBackup(scratch_.path(), config_, maxBackups, {2026, 12, day});
    }
    std::vector<std::wstring> Backups() { return FileNames(scratch_ / L"Backup"); }

    ScratchDir scratch_;
    std::filesystem::path config_ = scratch_ / L"Mivra.cfg";
};

TEST_F(DailyBackup, OneCopyADayAndTheOldestGoFirst) {
    Backup(2, 1);
    WriteBytes(config_, "[Config]\r\nVersion=2\r\n");
    Backup(2, 1);  // the first start of the day wins
    EXPECT_EQ(ReadBytes(scratch_ / L"Backup" / L"Mivra_Backup_2026-12-01.rcb"), "[Config]\r\nVersion=1\r\n");
    Backup(2, 2);
    Backup(2, 3);
    EXPECT_EQ(Backups(), (std::vector<std::wstring>{L"Mivra_Backup_2026-12-02.rcb", L"Mivra_Backup_2026-12-03.rcb"}));
    EXPECT_EQ(ReadBytes(scratch_ / L"Backup" / L"Mivra_Backup_2026-12-03.rcb"), "[Config]\r\nVersion=2\r\n");
}

TEST_F(DailyBackup, ZeroMakesNoneAndABackupInUseStopsThePruning) {
    Backup(0, 1);
    EXPECT_FALSE(std::filesystem::exists(scratch_ / L"Backup"));

    Backup(1, 1);
    SetFileAttributesW((scratch_ / L"Backup" / L"Mivra_Backup_2026-12-01.rcb").c_str(), FILE_ATTRIBUTE_READONLY);
    Backup(1, 2);  // a read-only backup is still pruned
    EXPECT_EQ(Backups(), std::vector<std::wstring>{L"Mivra_Backup_2026-12-02.rcb"});

    HANDLE held = CreateFileW((scratch_ / L"Backup" / L"Mivra_Backup_2026-12-02.rcb").c_str(), GENERIC_READ,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    win::UniqueHandle holder(held == INVALID_HANDLE_VALUE ? nullptr : held);
    Backup(1, 3);
    EXPECT_EQ(Backups().size(), 2u) << "a backup that cannot be deleted stops the pruning";
    holder.reset();
    Backup(1, 4);
    EXPECT_EQ(Backups(), std::vector<std::wstring>{L"Mivra_Backup_2026-12-04.rcb"});
}

TEST(ExportImport, ExportCopiesAndImportTakesOnlyAConfiguration) {
    ScratchDir scratch;
    const std::wstring config = scratch / L"Mivra.cfg";
    const std::string current = "[Config]\r\nTopMost=0\r\n[Data]\r\ng=,\r\n";
    WriteBytes(config, current);

    const std::wstring exported = scratch / L"my backup";  // a name without extension stays as it is
    EXPECT_TRUE(win::ExportConfiguration(config, exported));
    EXPECT_EQ(ReadBytes(exported), current);

    const auto& cp = win::SystemCodePage();
    struct Case { const wchar_t* name; std::string bytes; };
    for (const auto& [name, bytes] : {Case{L"empty.rcb", ""}, Case{L"binary.rcb", std::string("[Config]\0\x01", 10)},
                                      Case{L"notes.rcb", "hello\r\n"}}) {
        WriteBytes(scratch / name, bytes);
        EXPECT_EQ(win::ImportConfiguration(cp, scratch / name, config), win::ImportResult::NotAConfiguration) << name;
        EXPECT_EQ(ReadBytes(config), current);
    }
    EXPECT_EQ(win::ImportConfiguration(cp, scratch / L"missing.rcb", config), win::ImportResult::NotAConfiguration);

    const std::string other = "[Config]\r\nTabBarView=3\r\n[Data]\r\nother=,\r\n";
    WriteBytes(scratch / L"other.rcb", other);
    EXPECT_EQ(win::ImportConfiguration(cp, scratch / L"other.rcb", config), win::ImportResult::Imported);
    EXPECT_EQ(ReadBytes(config), other);
}

TEST(DataLoading, AFileWithUnreadableDataIsKeptBeforeAnythingIsWritten) {
    ScratchDir scratch;
    const std::wstring configFile = scratch / L"Mivra.cfg";
    const auto& cp = win::SystemCodePage();
    std::wstring record = EncodeText(cp, L"Title:\"记事本\",Path:\"notepad.exe\",IcoPath:\"\",Parm:\"\",Count:\"2\",");
    const std::string original = "[Config]\r\nVersion=1.3.6\r\n[Data]\r\n" + cp.ToAnsi(L"工具=") +
                                 cp.ToAnsi(record) + ",!!damaged!!,\r\nother=,\r\n";
    WriteBytes(configFile, original);

    win::FileConfigStorage storage(configFile);
    RecordingNotifier balloons;
    Configuration config(cp, storage, balloons);
    std::vector<std::wstring> shown;
    win::StartData data = win::LoadDataAtStart(config, configFile, [&](const std::wstring& m) { shown.push_back(m); });

    EXPECT_FALSE(data.ok);
    ASSERT_EQ(data.groups.size(), 2u);
    EXPECT_EQ(data.groups[0].Items().size(), 1u);
    ASSERT_FALSE(data.keptCopy.empty());
    EXPECT_EQ(ReadBytes(data.keptCopy), original);
    EXPECT_TRUE(std::filesystem::path(data.keptCopy).filename().wstring().starts_with(L"Mivra_Unreadable_"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].starts_with(L"加载数据时遇到错误，请导入 Backup 文件夹中的备份。\r\n导入方法：菜单 → 设置 → 导入数据"));
    EXPECT_NE(shown[0].find(data.keptCopy), std::wstring::npos);

    // Saving now writes what could be read; the kept copy still has the rest.
    EXPECT_TRUE(config.SaveGroups(data.groups).written);
    EXPECT_EQ(ReadBytes(data.keptCopy), original);
}

TEST(DataLoading, ReadableDataShowsNothing) {
    ScratchDir scratch;
    const std::wstring configFile = scratch / L"Mivra.cfg";
    WriteBytes(configFile, "[Data]\r\ng=,\r\n");
    win::FileConfigStorage storage(configFile);
    RecordingNotifier balloons;
    Configuration config(win::SystemCodePage(), storage, balloons);
    bool shown = false;
    win::StartData data = win::LoadDataAtStart(config, configFile, [&](const std::wstring&) { shown = true; });
    EXPECT_TRUE(data.ok);
    EXPECT_FALSE(shown);
    EXPECT_EQ(data.groups.size(), 1u);
    EXPECT_EQ(FileNames(scratch.path()), std::vector<std::wstring>{L"Mivra.cfg"});
}

}  // namespace
}  // namespace mivra::test
