#include "items/ItemConvert.h"

#include <string>

#include "paths/PortablePath.h"

namespace mivra {

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
