#pragma once
// Small facts about the process and the system.

#include <string>

#include "paths/PortablePath.h"

namespace mivra::win {

// The full path of the running executable.
std::wstring ExecutablePath();

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
