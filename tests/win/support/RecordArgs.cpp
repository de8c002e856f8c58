// A launch target for the tests: records how it was started (its command
// line and working directory, UTF-16, one per line) in record.txt beside
// itself, written whole under another name and then renamed.

#include <windows.h>

#include <string>

int wmain() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dir(self);
    dir.resize(dir.rfind(L'\\') + 1);

    wchar_t cwd[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, cwd);
    std::wstring record = std::wstring(GetCommandLineW()) + L"\n" + cwd + L"\n";

    std::wstring partial = dir + L"record.part", final = dir + L"record.txt";
    HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    return MoveFileExW(partial.c_str(), final.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
