#pragma once
// Where the program keeps its files (all beside the executable, so that the
// panel is portable) and the rule that refuses system directories.

#include <string>
#include <string_view>
#include <vector>

#include "paths/PortablePath.h"

namespace mivra {

struct FileLocations {
    std::wstring programDir;   // no trailing backslash, except a drive root ("E:\")
    std::wstring programFile;  // programDir\<base>.exe
    std::wstring configFile;   // programDir\<base>.cfg: settings and data
    std::wstring skinFile;     // programDir\Mivra.skin, whatever the executable is called

    // From the full path of the running executable.
    static FileLocations ForExecutable(std::wstring_view executablePath);
};

// The directories a portable program must not run from, each ending in one
// backslash: the Windows directory, Program Files without " (x86)", Program
// Files as it is. A variable that is missing or empty gives no directory
// (an empty one would refuse every location).
std::vector<std::wstring> RefusedDirectories(const EnvironmentLookup& environment);

// Case-sensitive, as the directory texts are compared.
bool IsInRefusedDirectory(std::wstring_view programFile, const std::vector<std::wstring>& refused);

// The message shown before the program ends when it runs from a refused directory.
std::wstring RefusalMessage(const EnvironmentLookup& environment);

// Whether the panel lets processes of lower integrity send it dropped files
// and data. Only an elevated panel needs to: Explorer, which the user drags
// from, runs below it then. Otherwise the filter stays shut, so that a
// sandboxed process cannot plant items for the user to start later.
bool AcceptsDropsFromBelow(bool vistaOrLater, bool elevated);

}  // namespace mivra
