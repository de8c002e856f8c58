#include "paths/PathNames.h"

namespace mivra {

std::wstring_view FileNameOf(std::wstring_view path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

std::wstring_view BaseNameOf(std::wstring_view path) {
    const std::wstring_view name = FileNameOf(path);
    return name.substr(0, name.rfind(L'.'));
}

}  // namespace mivra
