#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include "IconvCodePage.h"
#include "text/TextCoder.h"

namespace mivra {
namespace {

const test::IconvCodePage gbk("CP936");

TEST(CommandLine, ArgumentsFollowTheProgramName) {
    struct Case { std::wstring_view line, arguments; };
    for (auto [line, arguments] : {
             Case{L"Mivra.exe", L""},
             Case{L"Mivra.exe --run-x", L"--run-x"},
             Case{L"\"C:\\My Tools\\Mivra.exe\"   --edithosts", L"--edithosts"},
             Case{L"\"C:\\My Tools\\Mivra.exe\"--run", L"--run"},
             Case{L"\"unterminated --run", L""},
             Case{L"", L""},
         })
        EXPECT_EQ(ArgumentsOf(line), arguments) << std::wstring(line);
}

TEST(CommandLine, ClassifiesJobs) {
    struct Case { std::wstring_view arguments; CommandLineJob job; };
    for (auto [arguments, job] : {
             Case{L"--run-operation=\"\"", CommandLineJob::Run},
             Case{L"--RUN", CommandLineJob::Run},
             Case{L"--Runaway", CommandLineJob::Run},  // only the first five characters count
             Case{L"-run", CommandLineJob::Normal},
             Case{L"--edithosts", CommandLineJob::EditHosts},
             Case{L"--EditHosts", CommandLineJob::EditHosts},
             Case{L"--edithosts now", CommandLineJob::Normal},
             Case{L"x --edithosts", CommandLineJob::Normal},
             Case{L"autostart", CommandLineJob::Normal},
             Case{L"", CommandLineJob::Normal},
         })
        EXPECT_EQ(ClassifyCommandLine(arguments), job) << std::wstring(arguments);
}

TEST(CommandLine, RunRequestRoundTripsThroughTheWriter) {
    RunRequest request{L"open", L"D:\\工具 目录\\a \"b\".exe", L"-x \"y z\"", L"1"};
    std::wstring written = FormatRunArguments(gbk, request);
    EXPECT_TRUE(written.starts_with(L"--run-operation=\""));
    EXPECT_EQ(written.find(L' '), std::wstring::npos);
    EXPECT_EQ(ClassifyCommandLine(written), CommandLineJob::Run);
    EXPECT_EQ(ReadRunRequest(gbk, written), request);
}

TEST(CommandLine, ReaderFindsFieldsByKeyInAnyOrder) {
    auto enc = [](std::wstring_view s) { return EncodeText(gbk, s); };
    std::wstring line = L"--Run show=\"" + enc(L"7") + L"\" argument=\"\" path=\"" + enc(L"C:\\a.exe") +
                        L"\"operation=\"" + enc(L"runas") + L"\"";
    RunRequest r = ReadRunRequest(gbk, line);
    EXPECT_EQ(r, (RunRequest{L"runas", L"C:\\a.exe", L"", L"7"}));
    EXPECT_TRUE(ShouldLaunch(r));
    EXPECT_EQ(ShowCommandOf(r), 7);
}

TEST(CommandLine, EmptyOperationPathOrShowLaunchesNothing) {
    EXPECT_FALSE(ShouldLaunch({L"", L"a.exe", L"", L"1"}));
    EXPECT_FALSE(ShouldLaunch({L"open", L"", L"", L"1"}));
    EXPECT_FALSE(ShouldLaunch({L"open", L"a.exe", L"", L""}));
    EXPECT_TRUE(ShouldLaunch({L"open", L"a.exe", L"", L"0"}));
    EXPECT_FALSE(ShouldLaunch(ReadRunRequest(gbk, L"--run")));
}

TEST(CommandLine, ShowValueIsReadLeniently) {
    EXPECT_EQ(ShowCommandOf({.show = L"3"}), 3);
    EXPECT_EQ(ShowCommandOf({.show = L"abc"}), 0);
    EXPECT_EQ(ShowCommandOf({.show = L"99999999999999999999"}), INT_MAX);
}

TEST(CommandLine, WorkingDirectoryIsTheTargetsFolder) {
    struct Case { std::wstring_view path, dir; };
    for (auto [path, dir] : {
             Case{L"C:\\Tools\\a.exe", L"C:\\Tools\\"},
             Case{L"C:\\a.exe", L"C:\\"},
             Case{L"notepad.exe", L""},
             Case{L"http://example.com/a\\b", L""},
             Case{L"\\\\server\\share\\e.doc", L""},
             Case{L"D:\\工具 目录\\x.exe", L"D:\\工具 目录\\"},
         })
        EXPECT_EQ(WorkingDirectoryFor(path), dir) << std::wstring(path);
}

}  // namespace
}  // namespace mivra
