#include "items/ItemEditorRules.h"

#include <gtest/gtest.h>

namespace mivra {
namespace {

constexpr std::wstring_view kProgramDir = L"D:\\Tools\\App";

TEST(ItemEditorRules, ConvertButtonAndConversionBothWays) {
    struct Case {
        std::wstring target;
        ConvertButtonState button;
        std::wstring converted;  // what one click makes of it
    };
    const Case cases[] = {
        {L"D:\\Tools\\App\\x\\run.exe", {kToPortableCaption, true}, L"%rp%\\x\\run.exe"},
        {L"%rp%\\x\\run.exe", {kToAbsoluteCaption, true}, L"D:\\Tools\\App\\x\\run.exe"},
        {L"D:\\Games\\a.exe", {kToPortableCaption, true}, L"%rr%\\Games\\a.exe"},
        {L"%RR%\\Games\\a.exe", {kToAbsoluteCaption, true}, L"D:\\Games\\a.exe"},
        // Another letter case than the program directory: only the drive matches.
        {L"d:\\tools\\app\\b.exe", {kToPortableCaption, true}, L"%rr%\\tools\\app\\b.exe"},
        // The program directory only as a whole directory, never a longer name's start.
        {L"D:\\Tools\\AppData\\c.exe", {kToPortableCaption, true}, L"%rr%\\Tools\\AppData\\c.exe"},
        {L"E:\\x.exe", {kToPortableCaption, false}, L"E:\\x.exe"},
        {L"https://example.com/a", {kToPortableCaption, false}, L"https://example.com/a"},
        {L"", {kToPortableCaption, false}, L""},
        {L"D", {kToPortableCaption, false}, L"D"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertButtonFor(c.target, kProgramDir), c.button) << c.target;
        EXPECT_EQ(ConvertTarget(c.target, kProgramDir), c.converted) << c.target;
    }
}

TEST(ItemEditorRules, OnlyAWebAddressOnTheClipboardIsProposed) {
    EXPECT_TRUE(ProposesTarget(L"HTTPS://EXAMPLE.COM"));
    EXPECT_TRUE(ProposesTarget(L"http://a"));
    EXPECT_FALSE(ProposesTarget(L"C:\\http"));
    EXPECT_FALSE(ProposesTarget(L"htt"));
    EXPECT_FALSE(ProposesTarget(L""));
}

TEST(ItemEditorRules, TextsTheRecordCannotCarryAreRefusedByTheirLabel) {
    EXPECT_EQ(RefusalOf({L"a", L"C:\\a.exe", L"C:\\a.exe", L"-x", L"0"}), L"");
    EXPECT_NE(RefusalOf({L"say \"hi\", then", L"p", L"", L"", L"0"}).find(L"“标题”"), std::wstring::npos);
    EXPECT_NE(RefusalOf({L"t", L"C:\\a Parm:\"x", L"", L"", L"0"}).find(L"“目标”"), std::wstring::npos);
    EXPECT_NE(RefusalOf({L"t", L"p", L"", L"--name=\"a\",b", L"0"}).find(L"“参数”"), std::wstring::npos);
}

TEST(ItemEditorRules, AnItemIsFoundByItsSerialWhereverItWentOrNotAtAll) {
    std::vector<Group> groups{Group(L"a", {{L"1"}, {L"2"}, {L"3"}}), Group(L"b", {{L"4"}})};
    std::uint64_t next = 0;
    const ItemSerial second = SerialOf(groups[0].Items()[1], next);
    EXPECT_EQ(SerialOf(groups[0].Items()[1], next).value, second.value) << "asked again, the same serial";
    ASSERT_EQ(FindItem(groups, second), (ItemPlace{1, 2}));

    // The first item goes: the item is now the first.
    groups[0].Items().erase(groups[0].Items().begin());
    EXPECT_EQ(FindItem(groups, second), (ItemPlace{1, 1}));
    // Moved to the other group, as the move command carries it.
    groups[1].Items().push_back(groups[0].Items()[0]);
    groups[0].Items().erase(groups[0].Items().begin());
    EXPECT_EQ(FindItem(groups, second), (ItemPlace{2, 2}));
    // Its group removed: gone, and a twin with the same texts is not taken for it.
    groups.erase(groups.begin() + 1);
    groups[0].Items().push_back({L"2"});
    EXPECT_EQ(FindItem(groups, second), std::nullopt);
    EXPECT_EQ(FindItem(groups, ItemSerial{}), std::nullopt) << "an item never asked for is no item";
}

}  // namespace
}  // namespace mivra
