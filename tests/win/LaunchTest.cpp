// Starting an item for real: through the second instance, with its folder
// as working directory and its arguments, and the count stored.

#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <fstream>
#include <set>

#include "base/System.h"
#include "base/WinCodePage.h"
#include "config/FileConfigStorage.h"
#include "items/OpenFolder.h"
#include "items/SystemLaunchActions.h"
#include "MemoryStorage.h"
#include "support/TestSupport.h"

namespace mivra::test {
namespace {

using namespace std::chrono_literals;

TEST(Launch, AnItemStartsThroughTheSecondInstanceAndCounts) {
    ScratchDir scratch;
    const std::filesystem::path programDir = scratch / L"Mivra 程序";
    const std::filesystem::path toolDir = programDir / L"工具 目录";
    std::filesystem::create_directories(toolDir);
    std::filesystem::copy_file(MivraExe(), programDir / L"Mivra.exe");
    std::filesystem::copy_file(RecordArgsExe(), toolDir / L"Record Args.exe");

    win::FileConfigStorage storage(programDir / L"Mivra.cfg");
    RecordingNotifier balloons;
    Configuration config(win::SystemCodePage(), storage, balloons);
    std::vector<Group> groups = {{L"工具", {{L"记录", L"%rp%\\工具 目录\\Record Args.exe", L"", L"-x \"a b\" 中文", L""}}}};

    const LaunchContext context{win::SystemCodePage(), programDir / L"Mivra.exe", programDir.wstring(),
                                win::SystemEnvironment()};
    std::vector<std::wstring> told;
    win::SystemLaunchActions actions(nullptr, nullptr, [&](std::wstring_view text) { told.emplace_back(text); });
    ASSERT_TRUE(RunItem(groups[0].Items()[0], ShowMode::Normal, L"open", context, actions));
    ASSERT_TRUE(config.SaveGroups(groups).written);

    const std::filesystem::path record = toolDir / L"record.txt";
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(record); }, 20s)) << "the target did not start";
    std::string bytes = ReadBytes(record);
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    const size_t firstBreak = text.find(L'\n');
    EXPECT_TRUE(text.substr(0, firstBreak).ends_with(L"-x \"a b\" 中文")) << text;
    EXPECT_EQ(std::filesystem::path(text.substr(firstBreak + 1, text.find(L'\n', firstBreak + 1) - firstBreak - 1)),
              toolDir);

    auto loaded = config.LoadGroups();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->groups[0].Items()[0].count, L"1");
}


std::set<DWORD> ExplorerProcesses() {
    std::set<DWORD> ids;
    win::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (_wcsicmp(entry.szExeFile, L"explorer.exe") == 0) ids.insert(entry.th32ProcessID);
    return ids;
}

TEST(Launch, OpenFolderShowsTheTargetInItsFolder) {
    ScratchDir scratch;
    const std::filesystem::path target = scratch / L"文件夹" / L"报告.txt";
    std::filesystem::create_directories(target.parent_path());
    std::ofstream(target) << "x";

    // The folder window inherits our standard handles: give it none of the test runner's pipes.
    HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    const HANDLE saved[] = {GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE), GetStdHandle(STD_ERROR_HANDLE)};
    for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) SetStdHandle(which, nul);
    const std::set<DWORD> before = ExplorerProcesses();
    const bool opened = win::OpenFolderOf(target.wstring(), win::ReadOsVersion());
    SetStdHandle(STD_INPUT_HANDLE, saved[0]);
    SetStdHandle(STD_OUTPUT_HANDLE, saved[1]);
    SetStdHandle(STD_ERROR_HANDLE, saved[2]);
    CloseHandle(nul);
    EXPECT_TRUE(opened);

    std::set<DWORD> started;
    WaitUntil([&] {
        for (DWORD id : ExplorerProcesses())
            if (!before.count(id)) started.insert(id);
        return !started.empty();
    }, 10s);
    EXPECT_FALSE(started.empty()) << "a folder window was opened";
    for (DWORD id : started) {
        win::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (process) {
            TerminateProcess(process.get(), 0);
            WaitForSingleObject(process.get(), 5000);
        }
    }
    EXPECT_FALSE(win::OpenFolderOf((scratch / L"没有").wstring() + L"\\x.txt", win::ReadOsVersion()))
        << "nothing to show for a path that does not exist";
}

}  // namespace
}  // namespace mivra::test
