#include "paths/PortablePath.h"

#include <algorithm>

#include "text/Strings.h"

namespace mivra {
namespace {

// Expands a path that starts with '%': %rp%, %rr% or one environment variable.
// Returns nullopt for "%%...", which is left entirely alone.
std::optional<std::wstring> ExpandPercent(std::wstring_view s, std::wstring_view programDir,
                                          const EnvironmentLookup& environment) {
    if (s.starts_with(L"%%")) return std::nullopt;
    if (std::count(s.begin(), s.end(), L'%') < 2) return std::wstring(s);
    // The marker is replaced only as spelled at the start: "%RP%\a\%rp%" keeps
    // its second, differently cased marker.
    const std::wstring_view marker = s.substr(0, 4);
    if (EqualsNoCase(marker, L"%rp%")) return ReplaceAll(s, marker, programDir);
    if (EqualsNoCase(marker, L"%rr%")) return ReplaceAll(s, marker, programDir.substr(0, 2));
    const std::wstring_view name = s.substr(1, s.find(L'%', 1) - 1);
    std::wstring value;
    if (environment) value = environment(name).value_or(std::wstring());
    return ReplaceAll(s, L"%" + std::wstring(name) + L"%", value);
}

// Where `dir` occurs as a whole directory: followed by a backslash or the
// end, so that D:\MivraX is not taken for D:\Mivra plus "X".
bool IsDirectoryAt(std::wstring_view path, std::wstring_view dir, size_t at) {
    const size_t end = at + dir.size();
    return dir.ends_with(L'\\') || end == path.size() || path[end] == L'\\';
}

bool ContainsDirectory(std::wstring_view path, std::wstring_view dir) {
    if (dir.empty()) return false;
    for (size_t at = path.find(dir); at != std::wstring_view::npos; at = path.find(dir, at + 1))
        if (IsDirectoryAt(path, dir, at)) return true;
    return false;
}

std::wstring ReplaceDirectory(std::wstring_view path, std::wstring_view dir, std::wstring_view with) {
    std::wstring out;
    size_t pos = 0;
    for (size_t at = path.find(dir); at != std::wstring_view::npos; at = path.find(dir, at + 1)) {
        if (at < pos || !IsDirectoryAt(path, dir, at)) continue;
        out.append(path, pos, at - pos).append(with);
        pos = at + dir.size();
    }
    return out.append(path, pos);
}

}  // namespace

std::wstring ResolvePath(std::wstring_view path, std::wstring_view programDir,
                         const EnvironmentLookup& environment) {
    if (path.empty()) return {};
    std::wstring s;
    if (path.front() == L'%') {
        auto expanded = ExpandPercent(path, programDir, environment);
        if (!expanded) return std::wstring(path);
        s = std::move(*expanded);
    } else if (path.starts_with(L".\\")) {
        s = ReplaceAll(path, L".\\", std::wstring(programDir) + L"\\");
    } else if (path.starts_with(L"..\\")) {
        s = std::wstring(programDir.substr(0, 3)) + L"\\" + ReplaceAll(path, L"..\\", L"");
    } else {
        s = path;
    }
    // The pieces above were glued with a backslash of their own.
    return CleanPath(s);
}

std::wstring CleanPath(std::wstring_view path) {
    if (path.starts_with(L"\\\\")) return L"\\" + CollapseDoubledBackslashes(path);
    return CollapseDoubledBackslashes(path);
}

std::wstring MakePortable(std::wstring_view path, std::wstring_view programDir) {
    // Other drives, network paths and URLs cannot be made relative.
    if (path.size() < 2 || programDir.size() < 2 || !EqualsNoCase(path.substr(0, 2), programDir.substr(0, 2)))
        return std::wstring(path);
    std::wstring s = ContainsDirectory(path, programDir) ? ReplaceDirectory(path, programDir, L"%rp%\\")
                                                         : ReplaceAll(path, path.substr(0, 2), L"%rr%\\");
    return CollapseDoubledBackslashes(s);
}

std::wstring MakeAbsolute(std::wstring_view path, std::wstring_view programDir) {
    const std::wstring_view marker = path.substr(0, 4);
    if (EqualsNoCase(marker, L"%rp%")) return CleanPath(ReplaceAll(path, marker, programDir));
    if (EqualsNoCase(marker, L"%rr%")) return CleanPath(ReplaceAll(path, marker, programDir.substr(0, 2)));
    return std::wstring(path);
}

}  // namespace mivra
