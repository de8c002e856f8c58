#include "items/ItemSearch.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "items/ItemSort.h"

namespace mivra {
namespace {

// First GBK code of each initial's run; the runs are contiguous up to kLast.
struct Run {
    unsigned first;
    wchar_t letter;
};

constexpr Run kRuns[] = {
    {0xB0A1, L'A'}, {0xB0C5, L'B'}, {0xB2C1, L'C'}, {0xB4EE, L'D'}, {0xB6EA, L'E'}, {0xB7A2, L'F'},
    {0xB8C1, L'G'}, {0xB9FE, L'H'}, {0xBBF7, L'J'}, {0xBFA6, L'K'}, {0xC0AC, L'L'}, {0xC2E8, L'M'},
    {0xC4C3, L'N'}, {0xC5B6, L'O'}, {0xC5BE, L'P'}, {0xC6DA, L'Q'}, {0xC8BB, L'R'}, {0xC8F6, L'S'},
    {0xCBFA, L'T'}, {0xCDDA, L'W'}, {0xCEF4, L'X'}, {0xD1B9, L'Y'}, {0xD4D1, L'Z'},
};
constexpr unsigned kLast = 0xD7F9;

wchar_t InitialOf(unsigned code, wchar_t c) {
    if (code < kRuns[0].first || code > kLast) return c;
    const Run* run = std::upper_bound(std::begin(kRuns), std::end(kRuns), code,
                                      [](unsigned v, const Run& r) { return v < r.first; });
    return std::prev(run)->letter;
}

bool IsLeadByte(unsigned char b) { return b >= 0x81; }

// The GBK code of each character of `text` from one conversion, or nullopt
// when the bytes cannot be paired with the characters one to one.
std::optional<std::vector<unsigned>> CodesInOneCall(const AnsiCodePage& gbk, std::wstring_view text) {
    const std::string bytes = gbk.ToAnsi(text);
    std::vector<unsigned> codes;
    codes.reserve(text.size());
    for (size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const bool pair = IsLeadByte(b) && i + 1 < bytes.size();
        const unsigned code = pair ? b * 256u + static_cast<unsigned char>(bytes[i + 1]) : b;
        i += pair ? 2 : 1;
        const size_t k = codes.size();
        // An ASCII character must come back as its own byte, or the walk is off.
        if (k >= text.size() || (static_cast<unsigned>(text[k]) < 0x80 && code != static_cast<unsigned>(text[k])))
            return std::nullopt;
        codes.push_back(code);
    }
    if (codes.size() != text.size()) return std::nullopt;
    return codes;
}

unsigned CodeOfOne(const AnsiCodePage& gbk, wchar_t c) {
    const std::string bytes = gbk.ToAnsi(std::wstring_view(&c, 1));
    if (bytes.size() == 1) return static_cast<unsigned char>(bytes[0]);
    if (bytes.size() == 2 && IsLeadByte(static_cast<unsigned char>(bytes[0])))
        return static_cast<unsigned char>(bytes[0]) * 256u + static_cast<unsigned char>(bytes[1]);
    return 0;  // no code in range: the character stays
}

}  // namespace

std::wstring PinyinInitials(const AnsiCodePage& gbk, std::wstring_view text) {
    std::wstring out(text);
    if (const auto codes = CodesInOneCall(gbk, text)) {
        for (size_t k = 0; k < out.size(); ++k) out[k] = InitialOf((*codes)[k], out[k]);
    } else {
        for (wchar_t& c : out) c = InitialOf(CodeOfOne(gbk, c), c);
    }
    return out;
}

std::uint64_t TitlesStamp(const std::vector<ItemRecord>& items) {
    // FNV-1a over every character, with the end of each title marked.
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](std::uint64_t value) { hash = (hash ^ value) * 1099511628211ull; };
    for (const auto& item : items) {
        for (const wchar_t c : item.title) mix(static_cast<std::uint64_t>(c));
        mix(0x10000);
    }
    return hash;
}

SearchKeys PrepareSearch(const AnsiCodePage& gbk, const std::vector<ItemRecord>& items) {
    SearchKeys keys;
    keys.titlesStamp = TitlesStamp(items);
    keys.titles.reserve(items.size());
    keys.initials.reserve(items.size());
    for (const auto& item : items) {
        keys.titles.push_back(LowerCaseText(item.title));
        keys.initials.push_back(LowerCaseText(PinyinInitials(gbk, item.title)));
    }
    return keys;
}

std::vector<size_t> SearchItems(std::wstring_view keyword, const SearchKeys& keys) {
    const std::wstring k = LowerCaseText(keyword);
    // The initials differ from the title only where a character became a
    // letter a-z: a keyword without such a letter that is found in the
    // initials is found in the title too.
    const bool initialsCanMatch = std::any_of(k.begin(), k.end(), [](wchar_t c) { return c >= L'a' && c <= L'z'; });
    std::vector<size_t> found;
    for (size_t i = 0; i < keys.titles.size(); ++i) {
        if (keys.titles[i].empty()) continue;
        if (keys.titles[i].find(k) != std::wstring::npos ||
            (initialsCanMatch && keys.initials[i].find(k) != std::wstring::npos))
            found.push_back(i + 1);
    }
    return found;
}

std::wstring SearchResultTitle(const ItemRecord& item, std::wstring_view groupTitle) {
    std::wstring title;
    title.reserve(item.title.size() + groupTitle.size() + 3);
    return title.append(item.title).append(L" [").append(groupTitle).append(L"]");
}

}  // namespace mivra
