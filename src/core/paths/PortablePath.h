#pragma once
// Portable item paths: "%rp%" (the program directory), "%rr%" (its drive),
// one leading environment variable, ".\" (program directory) and "..\" (root
// of the program's drive). Stored paths are resolved each time they are used
// and never rewritten by resolution.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace mivra {

// Looks an environment variable up by name; nullopt when it does not exist.
using EnvironmentLookup = std::function<std::optional<std::wstring>(std::wstring_view name)>;

// `programDir` has no trailing backslash, except a drive root ("E:\").
std::wstring ResolvePath(std::wstring_view path, std::wstring_view programDir,
                         const EnvironmentLookup& environment);

// Collapses doubled backslashes, keeping the leading pair of a network path.
std::wstring CleanPath(std::wstring_view path);

// The inverse rule: a path on the program's drive becomes "%rp%\..." or "%rr%\...".
std::wstring MakePortable(std::wstring_view path, std::wstring_view programDir);

// Back again: a path that starts with "%rp%" or "%rr%" (any case) gets the
// program directory or its drive wherever that marker, as spelled at the
// start, occurs. Any other path is returned as it is.
std::wstring MakeAbsolute(std::wstring_view path, std::wstring_view programDir);

}  // namespace mivra
