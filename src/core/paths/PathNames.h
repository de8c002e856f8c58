#pragma once
// The names within a path.

#include <string_view>

namespace mivra {

// The name after the last "\" or "/"; the whole path when it has neither.
std::wstring_view FileNameOf(std::wstring_view path);

// That name without its last extension ("资料.tar.gz" gives "资料.tar").
std::wstring_view BaseNameOf(std::wstring_view path);

}  // namespace mivra
