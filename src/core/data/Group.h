#pragma once
// Groups and the five text fields of an item, as they are stored.

#include <string>
#include <vector>

namespace mivra {

struct ItemRecord {
    std::wstring title;
    std::wstring path;      // a portable path or a web address
    std::wstring icoPath;   // the file or folder whose shell icon is shown
    std::wstring argument;  // stored as "Parm"
    std::wstring count;     // launches, decimal text

    bool operator==(const ItemRecord&) const = default;
};

struct Group {
    std::wstring title;  // never holds "="
    std::vector<ItemRecord> items;

    bool operator==(const Group&) const = default;
};

}  // namespace mivra
