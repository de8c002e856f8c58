#pragma once
// What the windows that show items need from the program: starting and
// adding items, their icons, and the clock that click timing counts in.

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "data/Group.h"
#include "items/ItemLaunch.h"

namespace mivra::win {

class SystemIcons;

class ItemServices {
public:
    // The program's own path: path and icon of the command items it carries out.
    virtual std::wstring_view ProgramFile() = 0;
    // Starts an item; false when its path resolves to nothing (nothing
    // happened). Otherwise its count has grown by one.
    virtual bool RunItem(ItemRecord& item, ShowMode show, std::wstring_view verb) = 0;
    // Appends an item made from a title and a path, following shortcuts;
    // false (nothing added) when the data file could not carry it.
    virtual bool AddItem(std::vector<ItemRecord>& items, std::wstring_view title, std::wstring_view path,
                         std::wstring_view icoPath, std::wstring_view argument, std::wstring_view count) = 0;
    // The icon of an item as an index into the system image lists.
    virtual int IconIndexOf(const ItemRecord& item) = 0;
    virtual SystemIcons& Icons() = 0;
    // Milliseconds of the system's tick counter: what the click timing counts in.
    virtual std::uint32_t TickCount() { return GetTickCount(); }

protected:
    ~ItemServices() = default;
};

}  // namespace mivra::win
