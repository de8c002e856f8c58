#pragma once

#include <string_view>

namespace mivra {

// How GetPrivateProfileInt reads a value (quotes already removed): only its
// first 29 characters count; after leading blanks and control characters, an
// optional "-" or "+", and digits: decimal, or binary, octal or hexadecimal after a
// lower-case "0b", "0o" or "0x". Reading stops at the first other character;
// no digits give 0. The number wraps around modulo 2^32.
int ProfileIntOf(std::wstring_view value);

}  // namespace mivra
