// Mivra.exe --run-...: the target starts through the shell with its folder as
// working directory; the job process itself ends at once.

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace mivra::test {
namespace {

using namespace std::chrono_literals;

// The test's own encoder, written apart from the program's: the system's
// ANSI bytes, standard base64, every ASCII letter's case swapped.
std::wstring Encode(std::wstring_view text) {
    int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    std::wstring out = Base64(bytes);
    for (auto& c : out) c = iswupper(c) ? towlower(c) : iswlower(c) ? towupper(c) : c;
    return out;
}

std::wstring Field(std::wstring_view key, std::wstring_view value) {
    return std::wstring(key) + L"=\"" + Encode(value) + L"\"";
}

struct Recorded {
    std::wstring commandLine, workingDir;
};

std::optional<Recorded> WaitForRecord(const std::filesystem::path& file) {
    if (!WaitUntil([&] { return std::filesystem::exists(file); }, 20s)) return std::nullopt;
    std::string bytes = ReadBytes(file);
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    size_t first = text.find(L'\n');
    size_t second = text.find(L'\n', first + 1);
    if (first == std::wstring::npos || second == std::wstring::npos) return std::nullopt;
    return Recorded{text.substr(0, first), text.substr(first + 1, second - first - 1)};
}

class RunJob : public ::testing::Test {
protected:
    // The target lives in a folder whose name is Chinese and holds a space.
    void SetUp() override {
        targetDir_ = scratch_ / L"工具 目录";
        std::filesystem::create_directories(targetDir_);
        target_ = targetDir_ / L"Record Args.exe";
        std::filesystem::copy_file(RecordArgsExe(), target_);
    }

    DWORD RunMivra(const std::wstring& arguments) {
        Process p = StartProcess(QuoteArgument(MivraExe()) + L" " + arguments, scratch_.path());
        EXPECT_TRUE(p.handle) << "Mivra.exe did not start";
        auto code = WaitForExit(p, 20s);
        EXPECT_TRUE(code) << "the job did not end";
        return code.value_or(~0u);
    }

    ScratchDir scratch_;
    std::filesystem::path targetDir_, target_;
};

TEST_F(RunJob, StartsTheTargetInItsFolderWithItsArguments) {
    const std::wstring argument = L"-x \"a b\" 中文";
    EXPECT_EQ(RunMivra(L"--run-" + Field(L"operation", L"open") + L"-" + Field(L"path", target_.wstring()) + L"-" +
                       Field(L"argument", argument) + L"-" + Field(L"show", L"1")),
              0u);

    auto record = WaitForRecord(targetDir_ / L"record.txt");
    ASSERT_TRUE(record) << "the target did not start";
    EXPECT_NE(record->commandLine.find(L"Record Args.exe"), std::wstring::npos) << record->commandLine;
    EXPECT_TRUE(record->commandLine.ends_with(argument)) << record->commandLine;
    EXPECT_EQ(std::filesystem::path(record->workingDir), targetDir_);
}

TEST_F(RunJob, TouchesNoFileOfTheProgram) {
    // A copy of its own, so that the files beside it are only the job's doing.
    const std::filesystem::path dir = scratch_ / L"program";
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(MivraExe(), dir / L"Mivra.exe");
    Process p = StartProcess(QuoteArgument(dir / L"Mivra.exe") + L" --run-" + Field(L"operation", L"open") + L"-" +
                             Field(L"path", target_.wstring()) + L"-" + Field(L"argument", L"") + L"-" +
                             Field(L"show", L"1"));
    EXPECT_EQ(WaitForExit(p, 20s), 0u);
    EXPECT_TRUE(WaitForRecord(targetDir_ / L"record.txt"));
    std::vector<std::wstring> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) files.push_back(entry.path().filename());
    EXPECT_EQ(files, std::vector<std::wstring>{L"Mivra.exe"}) << "no configuration, skin or backup";
}

// A target that is not there, or a garbled line that decodes to nonsense:
// the job shows no box of the shell's (which would name neither the item nor
// Mivra) and does not wait on one.
TEST_F(RunJob, AMissingTargetEndsTheJobWithoutAnErrorBox) {
    for (const std::wstring& path : {(scratch_ / L"gone.exe").wstring(), std::wstring(L"\x01\x7f?<>|")}) {
        Process p = StartProcess(QuoteArgument(MivraExe()) + L" --run-" + Field(L"operation", L"open") + L"-" +
                                     Field(L"path", path) + L"-" + Field(L"show", L"1"),
                                 scratch_.path());
        const auto code = WaitForExit(p, 20s);
        EXPECT_EQ(code, 0u) << "the job ended";
        if (!code) {
            EXPECT_TRUE(TopLevelWindowsOf(p.id, L"#32770").empty()) << "an error box holds the job";
            TerminateProcess(p.handle.get(), 0);
        }
    }
}

TEST_F(RunJob, FieldsAreFoundInAnyOrderAndThePrefixIgnoresCase) {
    EXPECT_EQ(RunMivra(L"--RUN " + Field(L"show", L"1") + L" " + Field(L"path", target_.wstring()) + L" " +
                       Field(L"operation", L"open")),
              0u);
    auto record = WaitForRecord(targetDir_ / L"record.txt");
    ASSERT_TRUE(record) << "the target did not start";
    EXPECT_EQ(std::filesystem::path(record->workingDir), targetDir_);
}

TEST_F(RunJob, EmptyOperationPathOrShowLaunchesNothing) {
    const std::wstring path = Field(L"path", target_.wstring());
    for (const std::wstring& arguments : {
             L"--run-" + Field(L"operation", L"") + L"-" + path + L"-" + Field(L"show", L"1"),
             L"--run-" + Field(L"operation", L"open") + L"-" + Field(L"path", L"") + L"-" + Field(L"show", L"1"),
             L"--run-" + Field(L"operation", L"open") + L"-" + path + L"-" + Field(L"show", L""),
             std::wstring(L"--run"),
         })
        EXPECT_EQ(RunMivra(arguments), 0u) << arguments;
    Sleep(1000);
    EXPECT_FALSE(std::filesystem::exists(targetDir_ / L"record.txt"));
}

// A copy of Mivra.exe beside which the prepared hosts file is put; the
// system's hosts file is put back as it was afterwards.
class EditHosts : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::copy_file(MivraExe(), scratch / L"Mivra.exe"); }
    void TearDown() override {
        SetFileAttributesW(systemHosts.c_str(), FILE_ATTRIBUTE_NORMAL);
        WriteBytes(systemHosts, original);
    }
    Process Start(const std::wstring& arguments) {
        return StartProcess(QuoteArgument(scratch / L"Mivra.exe") + L" " + arguments);
    }

    ScratchDir scratch;
    const std::filesystem::path systemHosts =
        PathFromEnvironment(L"SystemRoot") / L"System32" / L"drivers" / L"etc" / L"hosts";
    const std::string original = ReadBytes(systemHosts);
};

TEST_F(EditHosts, ReplacesTheSystemHostsFileAndDeletesThePreparedCopy) {
    const std::string prepared = "127.0.0.1 localhost\r\n10.0.0.1 mivra.test # 测试\r\n";
    WriteBytes(scratch / L"hosts", prepared);
    SetFileAttributesW(systemHosts.c_str(), FILE_ATTRIBUTE_READONLY);

    // Only the whole command line, in any letter case, is the hosts job.
    Process other = Start(L"--edithosts x");
    WaitUntil([&] { return !TopLevelWindowsOf(other.id).empty(); }, 20s);
    TerminateProcess(other.handle.get(), 0);
    WaitForExit(other, 5s);
    EXPECT_EQ(ReadBytes(systemHosts), original);

    Process job = Start(L"--EditHosts");
    EXPECT_EQ(WaitForExit(job, 20s), 0u);
    EXPECT_EQ(ReadBytes(systemHosts), prepared);
    EXPECT_FALSE(std::filesystem::exists(scratch / L"hosts"));
    EXPECT_EQ(GetFileAttributesW(systemHosts.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(EditHosts, AFailedCopyKeepsThePreparedFileAndTheSystemFile) {
    const std::string prepared = "10.0.0.2 kept.test\r\n";
    WriteBytes(scratch / L"hosts", prepared);
    SetFileAttributesW(systemHosts.c_str(), FILE_ATTRIBUTE_READONLY);
    {
        // Held open without sharing (a scanner, an editor): the copy cannot replace it.
        win::UniqueFile held(CreateFileW(systemHosts.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        Process job = Start(L"--edithosts");
        EXPECT_EQ(WaitForExit(job, 20s), 0u);
    }
    EXPECT_EQ(ReadBytes(systemHosts), original);
    EXPECT_EQ(ReadBytes(scratch / L"hosts"), prepared) << "the user's edits are still there";
    EXPECT_NE(GetFileAttributesW(systemHosts.c_str()) & FILE_ATTRIBUTE_READONLY, 0u) << "read-only as it was";
}


}  // namespace
}  // namespace mivra::test
