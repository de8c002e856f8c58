#include "support/TestSupport.h"

#include <fstream>
#include <sstream>
#include <thread>

namespace mivra::test {

ScratchDir::ScratchDir(std::wstring_view name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static unsigned counter = 0;
    path_ = std::filesystem::path(temp) /
            (std::wstring(name) + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path PathFromEnvironment(const wchar_t* name) {
    wchar_t value[4096];
    DWORD n = GetEnvironmentVariableW(name, value, 4096);
    return n && n < 4096 ? std::filesystem::path(value) : std::filesystem::path();
}

std::filesystem::path MivraExe() { return PathFromEnvironment(L"MIVRA_EXE"); }
std::filesystem::path RecordArgsExe() { return PathFromEnvironment(L"MIVRA_RECORD_ARGS_EXE"); }

Process StartProcess(const std::wstring& commandLine, const std::filesystem::path& workingDir) {
    Process p;
    // Wine now and then fails a creation right after another process was
    // killed (1 in several hundred here); a second try starts it.
    for (int attempt = 0; attempt < 3 && !p.handle; ++attempt) {
        if (attempt > 0) Sleep(200);
        std::wstring line = commandLine;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           workingDir.empty() ? nullptr : workingDir.c_str(), &si, &pi)) {
            CloseHandle(pi.hThread);
            p.handle.reset(pi.hProcess);
            p.id = pi.dwProcessId;
        }
    }
    return p;
}

std::optional<DWORD> WaitForExit(const Process& process, std::chrono::milliseconds timeout) {
    if (!process.handle) return std::nullopt;
    if (WaitForSingleObject(process.handle.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process.handle.get(), &code);
    return code;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId, std::wstring_view className) {
    struct Search {
        DWORD processId;
        std::wstring_view className;
        std::vector<HWND> found;
    } search{processId, className, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(lParam);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            wchar_t name[256] = {};
            GetClassNameW(hwnd, name, 256);
            if (owner == s.processId && (s.className.empty() || s.className == name)) s.found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring StaticTextsOf(HWND window) {
    std::wstring texts;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM lParam) -> BOOL {
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            if (_wcsicmp(name, L"Static") == 0) {
                int length = GetWindowTextLengthW(child);
                std::wstring text(length + 1, L'\0');
                text.resize(GetWindowTextW(child, text.data(), length + 1));
                auto& all = *reinterpret_cast<std::wstring*>(lParam);
                if (!text.empty()) all += (all.empty() ? L"" : L"\n") + text;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

std::wstring QuoteArgument(const std::filesystem::path& path) { return L"\"" + path.wstring() + L"\""; }

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::wstring Base64(std::string_view bytes) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::wstring out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        unsigned n = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 2]);
        out += alphabet[(n >> 18) & 63];
        out += alphabet[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? alphabet[(n >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? alphabet[n & 63] : '=';
    }
    return out;
}

}  // namespace mivra::test
