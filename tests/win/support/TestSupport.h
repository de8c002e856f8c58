#pragma once
// What the Windows tests share: a scratch folder, starting programs, finding
// their windows and reading what they wrote.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Unique.h"

namespace mivra::test {

// A fresh folder under the temporary directory, removed with its contents.
class ScratchDir {
public:
    explicit ScratchDir(std::wstring_view name = L"mivra-test");
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::wstring_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// A Windows path from an environment variable the test runner sets.
std::filesystem::path PathFromEnvironment(const wchar_t* name);

// Mivra.exe as built, and the small program that records how it was started.
std::filesystem::path MivraExe();
std::filesystem::path RecordArgsExe();

struct Process {
    win::UniqueHandle handle;
    DWORD id = 0;
};

// Starts `commandLine` (the program's quoted path and its arguments).
Process StartProcess(const std::wstring& commandLine, const std::filesystem::path& workingDir = {});

// Waits for the process to end; its exit code, or nullopt on time-out.
std::optional<DWORD> WaitForExit(const Process& process, std::chrono::milliseconds timeout);

// Polls `condition` until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// Top-level windows of a process, optionally of one class.
std::vector<HWND> TopLevelWindowsOf(DWORD processId, std::wstring_view className = {});

// The texts of a window's static controls, joined by "\n" (a message box's message).
std::wstring StaticTextsOf(HWND window);

std::wstring QuoteArgument(const std::filesystem::path& path);

std::string ReadBytes(const std::filesystem::path& file);

// Plain base64 of bytes, written here independently of the program's coder.
std::wstring Base64(std::string_view bytes);
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);

}  // namespace mivra::test
