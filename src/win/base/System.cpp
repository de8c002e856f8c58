#include "base/System.h"

#include <windows.h>

#include "base/Unique.h"

namespace mivra::win {

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::optional<std::wstring> EnvironmentVariable(std::wstring_view name) {
    std::wstring key(name);
    SetLastError(ERROR_SUCCESS);
    DWORD size = GetEnvironmentVariableW(key.c_str(), nullptr, 0);
    if (size == 0) {
        if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
        return std::wstring();
    }
    std::wstring value(size, L'\0');
    DWORD n = GetEnvironmentVariableW(key.c_str(), value.data(), size);
    value.resize(n < size ? n : 0);
    return value;
}

EnvironmentLookup SystemEnvironment() {
    return [](std::wstring_view name) { return EnvironmentVariable(name); };
}

OsVersion ReadOsVersion() {
    using Fn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
    OsVersion v;
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto fn = ntdll ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetNtVersionNumbers")))
                    : nullptr;
    if (fn) {
        DWORD major = 0, minor = 0, build = 0;
        fn(&major, &minor, &build);
        v = {major, minor, build & 0x0FFFFFFF};  // the high bits flag checked/free builds
    }
    return v;
}

std::wstring SystemDirectory() {
    wchar_t dir[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(dir, n) : std::wstring();
}

void LoadDllsFromSystemOnly() { SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32); }

bool IsElevated() {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
    UniqueHandle token(raw);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

}  // namespace mivra::win
