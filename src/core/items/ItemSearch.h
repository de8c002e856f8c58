#pragma once
// Finding items as the user types: by title, or by the pinyin initials of a
// Chinese title ("QQ音乐" is also found by "yl").

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/Group.h"
#include "text/AnsiCodePage.h"

namespace mivra {

// One character per character of `text`: a Chinese character of GBK level 1
// becomes the capital initial of its pinyin, anything else stays.
// `gbk` is code page 936, not the system's.
std::wstring PinyinInitials(const AnsiCodePage& gbk, std::wstring_view text);

// A group's titles and title initials, lower-cased once, so that a keystroke
// converts nothing. Keep one per group; rebuild it when the group changes.
struct SearchKeys {
    std::vector<std::wstring> titles;
    std::vector<std::wstring> initials;
    std::uint64_t titlesStamp = 0;  // TitlesStamp of the items they were made from
};

// A hash of the items' titles in order: the keys depend on nothing else, so
// keys whose stamp still matches need not be made again.
std::uint64_t TitlesStamp(const std::vector<ItemRecord>& items);

SearchKeys PrepareSearch(const AnsiCodePage& gbk, const std::vector<ItemRecord>& items);

// 1-based numbers of the items whose title or initials contain the keyword,
// both lower-cased, in item order. An empty title never matches.
std::vector<size_t> SearchItems(std::wstring_view keyword, const SearchKeys& keys);

// How a found item is listed: "Title [Group]".
std::wstring SearchResultTitle(const ItemRecord& item, std::wstring_view groupTitle);

}  // namespace mivra
