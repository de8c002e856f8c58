#pragma once
// Small facts about the process and the system.

#include <windows.h>

#include <string>

#include "paths/PortablePath.h"

namespace mivra::win {

// Twips (1/1440 inch) per pixel of the screen: 15 at 96 dots per inch.
inline int TwipsPerPixel() {
    const UINT dpi = GetDpiForSystem();
    return dpi > 0 ? static_cast<int>(1440 / dpi) : 15;
}

// Switches WOW64 file-system redirection off for its lifetime, so that a
// 32-bit build starts targets in the real System32. The call only exists
// where there is something to switch; it is looked up at run time.
class FsRedirectionOff {
public:
    FsRedirectionOff() {
        HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        disable_ = reinterpret_cast<DisableFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "Wow64DisableWow64FsRedirection")));
        revert_ = reinterpret_cast<RevertFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "Wow64RevertWow64FsRedirection")));
        active_ = disable_ && revert_ && disable_(&old_);
    }
    ~FsRedirectionOff() {
        if (active_) revert_(old_);
    }
    FsRedirectionOff(const FsRedirectionOff&) = delete;
    FsRedirectionOff& operator=(const FsRedirectionOff&) = delete;

private:
    using DisableFn = BOOL(WINAPI*)(PVOID*);
    using RevertFn = BOOL(WINAPI*)(PVOID);
    DisableFn disable_ = nullptr;
    RevertFn revert_ = nullptr;
    PVOID old_ = nullptr;
    bool active_ = false;
};


// The full path of the running executable.
std::wstring ExecutablePath();

// Whether this process runs elevated (as an administrator past the prompt).
bool IsElevated();

// The system directory (System32), as the system says, not as an
// environment variable that anyone may set.
std::wstring SystemDirectory();

// From here on the process loads DLLs by name from the system directory
// only, never from its own folder.
void LoadDllsFromSystemOnly();

// An environment variable, or nullopt when it is not set.
std::optional<std::wstring> EnvironmentVariable(std::wstring_view name);

// The process environment as the portable code asks for it.
EnvironmentLookup SystemEnvironment();

struct OsVersion {
    unsigned major = 0, minor = 0, build = 0;
    // Vista and later: the steps that need integrity levels, WOW64 file
    // redirection and the refused directories.
    bool IsVistaOrLater() const { return major > 5; }
};

// Through RtlGetNtVersionNumbers, which is not subject to compatibility shims.
OsVersion ReadOsVersion();

}  // namespace mivra::win
