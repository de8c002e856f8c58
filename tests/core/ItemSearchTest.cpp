#include "items/ItemSearch.h"

#include <gtest/gtest.h>

#include "IconvCodePage.h"

namespace mivra {
namespace {

const test::IconvCodePage& Gbk() {
    static const test::IconvCodePage gbk("CP936");
    return gbk;
}

// The character with the given GBK code.
wchar_t GbkChar(unsigned code) {
    const char bytes[] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    const std::wstring text = Gbk().FromAnsi(std::string_view(bytes, 2));
    EXPECT_EQ(text.size(), 1u) << std::hex << code;
    return text.empty() ? L'?' : text[0];
}

TEST(ItemSearchPinyin, Examples) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"QQ\x97f3\x4e50", L"QQYL"},        // QQ音乐
        {L"\x5fae\x4fe1", L"WX"},            // 微信
        {L"a1 \x5fae-\x4fe1!", L"a1 W-X!"},  // ASCII stays
        {L"\x00e9\x0e01\x97f3", L"\x00e9\x0e01Y"},  // not in the code page: stays, the rest still lines up
        {L"", L""},
    };
    for (const auto& [text, initials] : cases) EXPECT_EQ(PinyinInitials(Gbk(), text), initials) << text;
}

// The first and last code of every initial, and the codes just outside.
TEST(ItemSearchPinyin, RangeBoundaries) {
    const std::pair<unsigned, wchar_t> cases[] = {
        {0xB0A1, L'A'}, {0xB0C4, L'A'}, {0xB0C5, L'B'}, {0xB2C0, L'B'}, {0xB2C1, L'C'}, {0xB4ED, L'C'},
        {0xB4EE, L'D'}, {0xB6E9, L'D'}, {0xB6EA, L'E'}, {0xB7A1, L'E'}, {0xB7A2, L'F'}, {0xB8C0, L'F'},
        {0xB8C1, L'G'}, {0xB9FD, L'G'}, {0xB9FE, L'H'}, {0xBBF6, L'H'}, {0xBBF7, L'J'}, {0xBFA5, L'J'},
        {0xBFA6, L'K'}, {0xC0AB, L'K'}, {0xC0AC, L'L'}, {0xC2E7, L'L'}, {0xC2E8, L'M'}, {0xC4C2, L'M'},
        {0xC4C3, L'N'}, {0xC5B5, L'N'}, {0xC5B6, L'O'}, {0xC5BD, L'O'}, {0xC5BE, L'P'}, {0xC6D9, L'P'},
        {0xC6DA, L'Q'}, {0xC8BA, L'Q'}, {0xC8BB, L'R'}, {0xC8F5, L'R'}, {0xC8F6, L'S'}, {0xCBF9, L'S'},
        {0xCBFA, L'T'}, {0xCDD9, L'T'}, {0xCDDA, L'W'}, {0xCEF3, L'W'}, {0xCEF4, L'X'}, {0xD1B8, L'X'},
        {0xD1B9, L'Y'}, {0xD4D0, L'Y'}, {0xD4D1, L'Z'}, {0xD7F9, L'Z'},
        {0xB0A0, 0}, {0xD8A1, 0}, {0xA1A1, 0},  // 0: the character stays
    };
    for (const auto& [code, letter] : cases) {
        const wchar_t c = GbkChar(code);
        EXPECT_EQ(PinyinInitials(Gbk(), std::wstring(1, c)), std::wstring(1, letter ? letter : c)) << std::hex << code;
    }
}

// A code page whose replacement for an unknown character is two bytes, so the
// bytes of a whole text no longer pair up with its characters.
class WideReplacementCodePage final : public AnsiCodePage {
public:
    std::string ToAnsi(std::wstring_view text, bool* lossy) const override {
        std::string out;
        for (wchar_t c : text) {
            bool unknown = false;
            const std::string bytes = Gbk().ToAnsi(std::wstring_view(&c, 1), &unknown);
            out += unknown ? "??" : bytes;
            if (unknown && lossy) *lossy = true;
        }
        return out;
    }
    std::wstring FromAnsi(std::string_view bytes) const override { return Gbk().FromAnsi(bytes); }
};

TEST(ItemSearchPinyin, KeepsOneToOneWhenTheBytesDoNotLineUp) {
    EXPECT_EQ(PinyinInitials(WideReplacementCodePage(), L"\x0e01\x5fae\x0e01\x4fe1" L"a"), L"\x0e01W\x0e01Xa");
}

TEST(ItemSearch, FindsByTitleOrInitials) {
    const std::vector<ItemRecord> items = {
        {L"QQ\x97f3\x4e50", L"", L"", L"", L""},  // QQ音乐
        {L"\x5fae\x4fe1", L"", L"", L"", L""},    // 微信
        {L"", L"x", L"", L"", L""},
        {L"\x00c9t\x00e9", L"", L"", L"", L""},   // Été
        {L"abc", L"", L"", L"", L""},
    };
    const SearchKeys keys = PrepareSearch(Gbk(), items);
    const std::pair<std::wstring, std::vector<size_t>> cases[] = {
        {L"qq", {1}}, {L"yl", {1}}, {L"QY", {1}}, {L"\x97f3\x4e50", {1}}, {L"yy", {}},
        {L"wx", {2}}, {L"x", {2}}, {L"\x00c9", {4}}, {L"T\x00c9", {4}}, {L"B", {5}},
        {L"", {1, 2, 4, 5}},  // the empty title never matches
    };
    for (const auto& [keyword, found] : cases) EXPECT_EQ(SearchItems(keyword, keys), found) << keyword;
}

TEST(ItemSearch, ResultTitleNamesTheGroup) {
    const ItemRecord item = {L"QQ\x97f3\x4e50", L"", L"", L"", L""};
    EXPECT_EQ(SearchResultTitle(item, L"\x5de5\x5177"), L"QQ\x97f3\x4e50 [\x5de5\x5177]");  // [工具]
}

}  // namespace
}  // namespace mivra
