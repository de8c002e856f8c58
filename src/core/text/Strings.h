#pragma once
// Small text helpers shared by the formats. Letter case is folded for ASCII
// letters only: every key, switch and token that is compared without case
// is ASCII.

#include <string>
#include <string_view>

namespace mivra {

constexpr wchar_t AsciiLower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c + 32) : c; }
constexpr wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - 32) : c; }

bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix);
bool EndsWithNoCase(std::wstring_view text, std::wstring_view suffix);

// Replaces every non-overlapping occurrence of `from`, left to right.
std::wstring ReplaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to);

// Collapses every "\\" to "\" in one left-to-right pass, as a single
// replace of the pair does ("\\\" becomes "\\").
std::wstring CollapseDoubledBackslashes(std::wstring_view text);

// Reads a leading optional sign and decimal digits after leading blanks, the
// way a lenient integer reader does: "12abc" is 12, "abc" is 0. Saturates.
long long LeadingInteger(std::wstring_view text);

}  // namespace mivra
