#pragma once
// Letter case folding for names the user types in any script: simple
// (one-to-one) Unicode case folding, enough for the letters Mivra's users
// write in names: ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic and
// fullwidth Latin. Other characters fold to themselves.

#include <string_view>

namespace mivra {

// The folded form of `c` (mostly its lowercase: "É" and "é" both give "é",
// "ς" and "Σ" give "σ", "ſ" gives "s").
wchar_t FoldCase(wchar_t c);

// Whether the two texts are equal once every character is folded.
bool EqualsFolded(std::wstring_view a, std::wstring_view b);

}  // namespace mivra
