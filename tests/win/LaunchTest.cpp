// Starting an item for real: through the second instance, with its folder
// as working directory and its arguments, and the count stored.

#include <gtest/gtest.h>

#include "base/System.h"
#include "base/WinCodePage.h"
#include "config/FileConfigStorage.h"
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
    win::SystemLaunchActions actions(nullptr, nullptr);
    ASSERT_TRUE(RunItem(groups[0].items[0], 1, L"open", context, actions));
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
    EXPECT_EQ(loaded->groups[0].items[0].count, L"1");
}

}  // namespace
}  // namespace mivra::test
