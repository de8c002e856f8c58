#pragma once
// A menu's entries as their captions in order, "-" for a separator and "]"
// where a submenu ends: one list to compare in a test.

#include <string>
#include <vector>

#include "menus/MenuEntry.h"

namespace mivra::test {

inline std::vector<std::wstring> Captions(const std::vector<MenuEntry>& entries) {
    std::vector<std::wstring> captions;
    for (const MenuEntry& e : entries) {
        if (e.kind == MenuEntry::Kind::Separator) {
            captions.push_back(L"-");
        } else if (e.kind == MenuEntry::Kind::EndSubmenu) {
            captions.push_back(L"]");
        } else {
            captions.push_back(e.caption);
        }
    }
    return captions;
}

}  // namespace mivra::test
