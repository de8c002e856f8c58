#include "text/CaseFold.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cwctype>

namespace mivra {
namespace {

TEST(CaseFold, FoldsTheLettersOfTheCoveredScripts) {
    const std::pair<std::wstring_view, std::wstring_view> same[] = {
        {L"Options", L"oPTIONS"},
        {L"\x00c9t\x00e9", L"\x00e9T\x00c9"},                // Été
        {L"\x0178\x0152", L"\x00ff\x0153"},                  // Ÿ Œ, Latin-1 and Extended-A
        {L"\x0130\x0131", L"\x0130\x0131"},                  // İ and ı fold to themselves only
        {L"\x017f\x00b5", L"s\x03bc"},                       // long s, micro sign
        {L"\x03a3\x03c3\x03c2", L"\x03c3\x03a3\x03a3"},      // Σ σ ς
        {L"\x0386\x03d0\x03f4", L"\x03ac\x03b2\x03b8"},      // Ά ϐ ϴ
        {L"\x0401\x042f\x0460\x04c0", L"\x0451\x044f\x0461\x04cf"},  // Ё Я Ѡ Ӏ
        {L"\xff21\xff3a", L"\xff41\xff5a"},                  // fullwidth A Z
        {L"\x4e2d\x6587", L"\x4e2d\x6587"},
    };
    for (const auto& [a, b] : same) EXPECT_TRUE(EqualsFolded(a, b)) << testing::PrintToString(std::wstring(a));
    const std::pair<std::wstring_view, std::wstring_view> different[] = {
        {L"a", L"b"}, {L"ab", L"a"}, {L"\x0130", L"i"}, {L"\x0131", L"i"}, {L"\xff21", L"A"},
        {L"\x212a", L"k"},  // Kelvin sign: outside the covered blocks
        {L"@", L"`"}, {L"[", L"{"},
    };
    for (const auto& [a, b] : different) EXPECT_FALSE(EqualsFolded(a, b)) << testing::PrintToString(std::wstring(a));
}

// Over the covered blocks, folding is the C library's lowercase mapping but
// for the letters whose fold is not their lowercase; and folding twice
// changes nothing.
TEST(CaseFold, AgreesWithLowercaseOverTheCoveredBlocks) {
    if (!std::setlocale(LC_CTYPE, "C.UTF-8")) GTEST_SKIP() << "no C.UTF-8 locale";
    const wchar_t foldIsNotLower[] = {0x00b5, 0x0130, 0x017f, 0x03c2, 0x03d0, 0x03d1,
                                      0x03d5, 0x03d6, 0x03f0, 0x03f1, 0x03f5};
    const std::pair<wchar_t, wchar_t> blocks[] = {{0x0000, 0x017f}, {0x0370, 0x052f}, {0xff00, 0xffef}};
    for (const auto& [first, last] : blocks) {
        for (wchar_t c = first; c <= last; ++c) {
            EXPECT_EQ(FoldCase(FoldCase(c)), FoldCase(c)) << std::hex << int(c);
            if (std::find(std::begin(foldIsNotLower), std::end(foldIsNotLower), c) != std::end(foldIsNotLower)) continue;
            EXPECT_EQ(FoldCase(c), static_cast<wchar_t>(std::towlower(c))) << std::hex << int(c);
        }
    }
    std::setlocale(LC_CTYPE, "C");
}

}  // namespace
}  // namespace mivra
