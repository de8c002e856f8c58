#include "items/ItemConvert.h"

#include <string>

#include "paths/PortablePath.h"
#include "text/Strings.h"

namespace mivra {
namespace {

std::wstring MakeAbsolute(const std::wstring& value, std::wstring_view programDir) {
    // Only the marker as spelled at the start is replaced, wherever it occurs.
    const std::wstring_view marker = std::wstring_view(value).substr(0, 4);
    if (EqualsNoCase(marker, L"%rp%")) return CleanPath(ReplaceAll(value, marker, programDir));
    if (EqualsNoCase(marker, L"%rr%")) return CleanPath(ReplaceAll(value, marker, programDir.substr(0, 2)));
    return value;
}

}  // namespace

bool ConvertItems(std::vector<ItemRecord>& items, int mode, std::wstring_view programDir) {
    if (mode != 1 && mode != 2) return false;
    bool changed = false;
    for (auto& item : items) {
        for (std::wstring* value : {&item.path, &item.icoPath}) {
            std::wstring converted = mode == 1 ? MakePortable(*value, programDir) : MakeAbsolute(*value, programDir);
            if (converted != *value) {
                *value = std::move(converted);
                changed = true;
            }
        }
    }
    return changed;
}

}  // namespace mivra
