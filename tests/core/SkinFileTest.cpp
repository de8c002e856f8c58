#include "skin/SkinFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "IconvCodePage.h"
#include "text/Crc32.h"
#include "text/TextCoder.h"

namespace mivra {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::pair<std::wstring, std::wstring>>;

const test::IconvCodePage gbk("CP936");

// A complete skin in the order the keys are read, every colour different so
// that a value read from the wrong line shows.
const Lines kSkinLines = {
    {L"Name=", L"蓝色 Blue"},
    {L"BGColor=", L"10,50,50"},
    {L"FGColor=", L"1,2,3"},
    {L"BDColor=", L"4,5,6"},
    {L"Border=", L"2"},
    {L"TitleBarHeight=", L"28"},
    {L"TabBDColor=", L"7,8,9"},
    {L"TabFGColor=", L"10,11,12"},
    {L"TabFGColor2=", L"13,14,15"},
    {L"ItemFGColor=", L"16,17,18"},
    {L"picItem=", L"R0lGODlhAQA="},
    {L"picSearch=", L"Qk0="},
    {L"picMenu=", L"iVBORw=="},
    {L"picMini=", L"AAABAA=="},
    {L"picQuit=", L"/9j/"},
    {L"picTab=", L"R0lGOA=="},
};

Lines With(Lines lines, std::wstring_view key, std::wstring_view value) {
    for (auto& [k, v] : lines)
        if (k == key) v = value;
    return lines;
}

Lines Without(Lines lines, std::wstring_view key) {
    std::erase_if(lines, [&](const auto& line) { return line.first == key; });
    return lines;
}

// Moves the line of `key` to the end.
Lines LastLine(Lines lines, std::wstring_view key) {
    auto line = std::find_if(lines.begin(), lines.end(), [&](const auto& l) { return l.first == key; });
    std::rotate(line, line + 1, lines.end());
    return lines;
}

std::wstring Text(const Lines& lines, bool finalCr = true) {
    std::wstring text;
    for (const auto& [key, value] : lines) text += key + value + L"\r";
    if (!finalCr) text.pop_back();
    return text;
}

std::string FileBytes(std::wstring_view skinText) {
    const std::wstring stored = EncodeText(gbk, skinText);
    return std::string(stored.begin(), stored.end());
}

SkinError ErrorOf(const SkinParse& parse) {
    EXPECT_EQ(parse.skin.has_value(), parse.error == SkinError::None);
    return parse.error;
}

TEST(SkinFile, ReadsEveryLineOfAnEncodedSkinFile) {
    const SkinParse parse = ParseSkinFile(gbk, FileBytes(Text(kSkinLines)));
    ASSERT_EQ(ErrorOf(parse), SkinError::None);
    const Skin& skin = *parse.skin;
    EXPECT_EQ(skin.name, L"蓝色 Blue");
    EXPECT_EQ(skin.bgColor, Rgb(10, 50, 50));
    EXPECT_EQ(skin.fgColor, Rgb(1, 2, 3));
    EXPECT_EQ(skin.bdColor, Rgb(4, 5, 6));
    EXPECT_EQ(skin.border, 2);
    EXPECT_EQ(skin.titleBarHeight, 28);
    EXPECT_EQ(skin.tabBdColor, Rgb(7, 8, 9));
    EXPECT_EQ(skin.tabFgColor, Rgb(10, 11, 12));
    EXPECT_EQ(skin.tabFgColor2, Rgb(13, 14, 15));
    EXPECT_EQ(skin.itemFgColor, Rgb(16, 17, 18));
    // Pictures are plain base64 inside the encoded text: their letters keep
    // their case.
    EXPECT_EQ(skin.picItem, (Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0}));
    EXPECT_EQ(skin.picSearch, (Bytes{'B', 'M'}));
    EXPECT_EQ(skin.picMenu, (Bytes{0x89, 'P', 'N', 'G'}));
    EXPECT_EQ(skin.picMini, (Bytes{0, 0, 1, 0}));
    EXPECT_EQ(skin.picQuit, (Bytes{0xFF, 0xD8, 0xFF}));
    EXPECT_EQ(skin.picTab, (Bytes{'G', 'I', 'F', '8'}));

    // A skin called "Default" is still a skin; the caller removes it after use.
    EXPECT_EQ(ParseSkinText(Text(With(kSkinLines, L"Name=", L"Default"))).skin->name, L"Default");
}

TEST(SkinFile, ColourValues) {
    const std::pair<std::wstring, std::optional<Color>> cases[] = {
        {L"0,0,0", Rgb(0, 0, 0)},
        {L"255,255,255", Color(0xFFFFFF)},
        {L"10,50,50", Color(10 + 256 * 50 + 65536 * 50)},
        {L"12.7,0.2,255.9", Rgb(12, 0, 255)},   // rounded down
        {L"12.,.5,7.000", Rgb(12, 0, 7)},
        {L"300,256,1000", Rgb(255, 255, 255)},  // capped
        {L"99999999999999999999,0,0", Rgb(255, 0, 0)},
        {L" 1 , 2\t,3 ", Rgb(1, 2, 3)},
        {L"+1,-0,-0.0", Rgb(1, 0, 0)},          // zero is not negative
        {L"1,2,3,4", Rgb(1, 2, 3)},             // past the third number nothing is read
        {L"1,2,3,", Rgb(1, 2, 3)},
        {L"1,2,3,x", Rgb(1, 2, 3)},
        {L"", std::nullopt},
        {L"1,2", std::nullopt},
        {L"1,2,", std::nullopt},
        {L"1,,3", std::nullopt},
        {L"-1,0,0", std::nullopt},
        {L"0,-0.5,0", std::nullopt},
        {L"a,0,0", std::nullopt},
        {L"12abc,0,0", std::nullopt},
        {L"1 2,3,4", std::nullopt},
        {L"0x10,0,0", std::nullopt},
        {L"1e2,0,0", std::nullopt},
        {L".,0,0", std::nullopt},
        {L"+-1,0,0", std::nullopt},
        {L"1;2;3", std::nullopt},
        {L"\uff11,2,3", std::nullopt},  // full-width digit
    };
    for (const auto& [value, color] : cases) {
        EXPECT_EQ(ParseColor(L"BGColor=" + value + L"\rFGColor=1,2,3\r", L"BGColor="), color) << value;
        const SkinParse parse = ParseSkinText(Text(With(kSkinLines, L"BGColor=", value)));
        if (color) {
            ASSERT_EQ(ErrorOf(parse), SkinError::None) << value;
            EXPECT_EQ(parse.skin->bgColor, *color) << value;
        } else {
            EXPECT_EQ(ErrorOf(parse), SkinError::BadColor) << value;
        }
    }
    EXPECT_EQ(ParseColor(L"x=1,2,3;y", L"x=", L";"), Rgb(1, 2, 3));
    EXPECT_EQ(ParseColor(L"x=1,2,3", L"x="), std::nullopt);  // no terminator
    EXPECT_EQ(ParseColor(L"x=1,2,3\r", L"y="), std::nullopt);
}

TEST(SkinFile, EveryColourLineIsChecked) {
    for (const auto* key : {L"BGColor=", L"FGColor=", L"BDColor=", L"TabBDColor=", L"TabFGColor=", L"TabFGColor2=",
                            L"ItemFGColor="}) {
        EXPECT_EQ(ErrorOf(ParseSkinText(Text(With(kSkinLines, key, L"1,2")))), SkinError::BadColor) << key;
    }
    for (const auto* key : {L"BGColor=", L"TabBDColor=", L"TabFGColor=", L"TabFGColor2=", L"ItemFGColor="})
        EXPECT_EQ(ErrorOf(ParseSkinText(Text(Without(kSkinLines, key)))), SkinError::MissingLine) << key;
}

TEST(SkinFile, KeysAreFoundAtTheirFirstOccurrence) {
    // FGColor= also ends TabFGColor= and ItemFGColor=; in the usual order it
    // comes first and each colour gets its own line.
    const Skin skin = *ParseSkinText(Text(kSkinLines)).skin;
    EXPECT_EQ(skin.fgColor, Rgb(1, 2, 3));
    EXPECT_EQ(skin.bdColor, Rgb(4, 5, 6));

    // Written after TabFGColor=, FGColor= reads the group bar's colour.
    Lines swapped = kSkinLines;
    std::swap(swapped[2], swapped[7]);
    ASSERT_EQ(swapped[2].first, L"TabFGColor=");
    EXPECT_EQ(ParseSkinText(Text(swapped)).skin->fgColor, Rgb(10, 11, 12));

    // Without their own lines, FGColor= and BDColor= read the group bar's.
    EXPECT_EQ(ParseSkinText(Text(Without(kSkinLines, L"FGColor="))).skin->fgColor, Rgb(10, 11, 12));
    EXPECT_EQ(ParseSkinText(Text(Without(kSkinLines, L"BDColor="))).skin->bdColor, Rgb(7, 8, 9));
}

TEST(SkinFile, LastLineWithoutCarriageReturnIsLost) {
    // picTab may be empty, so losing it is no error.
    const SkinParse lostPicture = ParseSkinText(Text(kSkinLines, false));
    ASSERT_EQ(ErrorOf(lostPicture), SkinError::None);
    EXPECT_TRUE(lostPicture.skin->picTab.empty());
    EXPECT_FALSE(lostPicture.skin->picQuit.empty());

    for (const auto* key : {L"ItemFGColor=", L"BGColor=", L"Border=", L"TitleBarHeight=", L"picItem="})
        EXPECT_EQ(ErrorOf(ParseSkinText(Text(LastLine(kSkinLines, key), false))), SkinError::MissingLine) << key;
    EXPECT_EQ(ErrorOf(ParseSkinText(Text(LastLine(kSkinLines, L"Name="), false))), SkinError::NoName);
}

TEST(SkinFile, ASkinNeedsAName) {
    EXPECT_EQ(ErrorOf(ParseSkinText(Text(With(kSkinLines, L"Name=", L"")))), SkinError::NoName);
    EXPECT_EQ(ErrorOf(ParseSkinText(Text(Without(kSkinLines, L"Name=")))), SkinError::NoName);
    EXPECT_EQ(ErrorOf(ParseSkinText(L"")), SkinError::NoName);
    // The name is checked before anything else.
    EXPECT_EQ(ErrorOf(ParseSkinText(Text(With(With(kSkinLines, L"Name=", L""), L"BGColor=", L"x")))),
              SkinError::NoName);
}

// Whole numbers, kept to sizes a panel can show before any arithmetic.
TEST(SkinFile, BorderAndTitleBarHeightAreWholeNumbers) {
    const std::pair<std::wstring, std::optional<int>> cases[] = {
        {L"0", 0},          {L"5", 5},
        {L" -3\t", 0},      {L"+7", 7},
        {L"2147483647", 2147483647},
        {L"", std::nullopt},          {L" ", std::nullopt},
        {L"-", std::nullopt},         {L"5px", std::nullopt},
        {L"1.5", std::nullopt},       {L"x", std::nullopt},
        {L"1 2", std::nullopt},       {L"2147483648", std::nullopt},
        {L"99999999999999999999", std::nullopt},
    };
    for (const auto& [value, number] : cases) {
        for (const auto* key : {L"Border=", L"TitleBarHeight="}) {
            const SkinParse parse = ParseSkinText(Text(With(kSkinLines, key, value)));
            if (!number) {
                EXPECT_EQ(ErrorOf(parse), SkinError::BadNumber) << key << value;
                continue;
            }
            ASSERT_EQ(ErrorOf(parse), SkinError::None) << key << value;
            const bool border = std::wstring_view(key) == L"Border=";
            EXPECT_EQ(border ? parse.skin->border : parse.skin->titleBarHeight,
                      std::min(*number, border ? kMostSkinBorder : kMostTitleBarHeight))
                << key << value;
        }
    }
}

TEST(SkinFile, OnlyTheItemPictureIsRequired) {
    for (const auto* value : {L"", L"=", L"Q", L"=R0lGOA=="})
        EXPECT_EQ(ErrorOf(ParseSkinText(Text(With(kSkinLines, L"picItem=", value)))), SkinError::NoItemPicture)
            << value;
    EXPECT_EQ(ErrorOf(ParseSkinText(Text(Without(kSkinLines, L"picItem=")))), SkinError::MissingLine);

    Lines bare = kSkinLines;
    for (const auto* key : {L"picSearch=", L"picMenu=", L"picMini="}) bare = With(bare, key, L"");
    for (const auto* key : {L"picQuit=", L"picTab="}) bare = Without(bare, key);
    const SkinParse parse = ParseSkinText(Text(bare));
    ASSERT_EQ(ErrorOf(parse), SkinError::None);
    EXPECT_TRUE(parse.skin->picSearch.empty() && parse.skin->picMenu.empty() && parse.skin->picMini.empty() &&
                parse.skin->picQuit.empty() && parse.skin->picTab.empty());
}

TEST(SkinFile, SearchBackgroundIsOneIntegerSubtraction) {
    // Borrows run across the channels: 10,50,50 gives 246,29,30.
    EXPECT_EQ(SearchBackground(Rgb(10, 50, 50)), Rgb(246, 29, 30));
    EXPECT_EQ(SearchBackground(Rgb(255, 255, 255)), Rgb(235, 235, 235));
    EXPECT_EQ(SearchBackground(Rgb(20, 20, 20)), 0u);
    EXPECT_EQ(SearchBackground(Rgb(19, 20, 20)), 0u);
    EXPECT_EQ(SearchBackground(Rgb(255, 255, 0)), 0u);
    EXPECT_EQ(SearchBackground(0), 0u);
}

TEST(SkinFile, CheckValueIsTheCrcOfTheTimeAsDecimalText) {
    EXPECT_EQ(SkinStampText(0), L"0");
    EXPECT_EQ(SkinStampText(133500000000000000ull), L"133500000000000000");
    EXPECT_EQ(SkinStampText(UINT64_MAX), L"18446744073709551615");
    EXPECT_EQ(SkinCheckValue(123456789), L"CBF43926");  // the CRC-32 check value
    const std::uint64_t stamp = 133500000012345678ull;
    EXPECT_EQ(SkinCheckValue(stamp), CrcText(gbk, SkinStampText(stamp)));
    EXPECT_NE(SkinCheckValue(stamp), SkinCheckValue(stamp + 1));
}

TEST(SkinFile, DamagedFilesAreRefusedWithoutHarm) {
    const std::string file = FileBytes(Text(kSkinLines));
    for (size_t n = 0; n < file.size(); ++n) ErrorOf(ParseSkinFile(gbk, file.substr(0, n)));

    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string damaged = file;
        for (int flips = 1 + round % 8; flips > 0; --flips)
            damaged[random() % damaged.size()] = static_cast<char>(random());
        ErrorOf(ParseSkinFile(gbk, damaged));

        std::string noise(random() % 200, '\0');
        for (char& c : noise) c = static_cast<char>(random());
        ErrorOf(ParseSkinFile(gbk, noise));
        ErrorOf(ParseSkinText(gbk.FromAnsi(noise)));
    }
    // The skin text itself, not encoded, is no skin file.
    EXPECT_NE(ErrorOf(ParseSkinFile(gbk, gbk.ToAnsi(Text(kSkinLines)))), SkinError::None);
}

}  // namespace
}  // namespace mivra
