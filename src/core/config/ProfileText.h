#pragma once
// How the private-profile functions take a name or a value: trimmed, cut at
// a NUL, and compared without regard to letter case. Shared by the parser
// of the lines, the lookups and the writers; inline, since the parser runs
// them on every line.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/CaseFold.h"

namespace mivra::profile {

// What the system trims: tab, LF, VT, FF, CR, space, and ^Z (an old DOS
// end-of-file mark).
constexpr bool IsBlank(wchar_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1A; }
constexpr bool IsBlankByte(char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1A; }

inline std::wstring_view TrimLeft(std::wstring_view s) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return s.substr(i);
}

inline std::wstring_view TrimRight(std::wstring_view s) {
    size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1])) --n;
    return s.substr(0, n);
}

inline std::wstring_view Trim(std::wstring_view s) { return TrimRight(TrimLeft(s)); }

// The system's functions take and keep C strings.
inline std::wstring_view UpToNul(std::wstring_view s) { return s.substr(0, std::min(s.size(), s.find(L'\0'))); }

// Names that compare equal folded hash alike.
inline std::uint64_t HashFolded(std::wstring_view s) {
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (wchar_t c : s) {
        h ^= static_cast<std::uint32_t>(FoldCase(c));
        h *= 1099511628211ull;
    }
    return h;
}

}  // namespace mivra::profile
