#pragma once
// What the item editor decides without a window: its convert button, the
// conversion itself, which new target the clipboard proposes, and the texts
// that a record cannot carry.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/Group.h"

namespace mivra {

inline constexpr std::wstring_view kToPortableCaption = L"转便携路径";
inline constexpr std::wstring_view kToAbsoluteCaption = L"转普通路径";

struct ConvertButtonState {
    std::wstring_view caption;
    bool enabled = false;
    bool operator==(const ConvertButtonState&) const = default;
};

// The convert button for target `target`: a path on the program's drive can
// be made portable, a portable one absolute; anything else cannot be converted.
ConvertButtonState ConvertButtonFor(std::wstring_view target, std::wstring_view programDir);

// The target converted between its absolute and portable forms, by the same
// rules as converting a whole group.
std::wstring ConvertTarget(std::wstring_view target, std::wstring_view programDir);

// Whether the clipboard's text is proposed as a new item's target: a web
// address ("http" in any letter case at its start).
bool ProposesTarget(std::wstring_view clipboardText);

// The message that refuses the four texts when the record cannot carry one
// of them (it would be cut or misread when read back); empty when it can.
std::wstring RefusalOf(const ItemRecord& item);

// Where an item is, by group and item number (both 1-based).
struct ItemPlace {
    size_t group = 0, item = 0;
    bool operator==(const ItemPlace&) const = default;
};

// Gives `item` a serial if it has none yet; `next` is the owner's counter.
ItemSerial SerialOf(ItemRecord& item, std::uint64_t& next);

// Where the item with `serial` is now; nothing when it is gone (deleted,
// blanked, its group removed, the data loaded again). Groups whose items
// were never made cannot hold it and are not made for the search.
std::optional<ItemPlace> FindItem(const std::vector<Group>& groups, ItemSerial serial);

}  // namespace mivra
