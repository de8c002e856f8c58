#include "data/DataFile.h"

#include <gtest/gtest.h>

#include "GreedyDbcsCodePage.h"
#include "IconvCodePage.h"
#include "text/TextCoder.h"

namespace mivra {
namespace {

const test::IconvCodePage gbk("CP936");

std::string Ansi(std::wstring_view text) { return gbk.ToAnsi(text); }
std::string Encoded(const ItemRecord& item) {
    std::wstring e = EncodeText(gbk, RecordText(item));
    return std::string(e.begin(), e.end());
}

const ItemRecord kNotepad{L"记事本", L"%windir%\\notepad.exe", L"%windir%\\notepad.exe", L"", L"3"};
const ItemRecord kEmptyFields{L"", L"", L"", L"", L""};
const ItemRecord kWeb{L"Web & 站点", L"https://example.com/a?b=c", L"", L"--new", L"0"};
const ItemRecord kOwnIcon{L"软件", L"D:\\软件\\记事本.exe", L"D:\\软件\\记事本.exe", L"-x", L"12"};

TEST(DataFile, RecordTextHasTheFiveFieldsInOrder) {
    EXPECT_EQ(RecordText({L"t", L"p", L"i", L"a", L"7"}),
              L"Title:\"t\",Path:\"p\",IcoPath:\"i\",Parm:\"a\",Count:\"7\",");
    EXPECT_EQ(CutFieldsReference(RecordText(kWeb)), kWeb);
    EXPECT_EQ(CutFieldsReference(RecordText(kEmptyFields)), kEmptyFields);
    // The Path opening ends like the IcoPath opening: fields are found from
    // their own opening, so b stays b.
    EXPECT_EQ(CutFieldsReference(L"Title:\"a\",Path:\"b\",IcoPath:\"xb\",Parm:\"\",Count:\"\",").path, L"b");
    EXPECT_EQ(CutFieldsReference(L"Title:\"only\","), (ItemRecord{L"only", L"", L"", L"", L""}));
}

TEST(DataFile, GroupLinesRoundTripByteForByte) {
    // A one-letter title whose "=" also stands inside the records, an empty
    // group, Chinese titles and empty fields.
    const std::vector<Group> groups = {
        {L"工具", {kNotepad, kEmptyFields, kWeb, kOwnIcon}},
        {L"空", {}},
        {L"a", {kWeb}},
        {L"Games 游戏", {kNotepad}},
    };
    const std::vector<std::string> lines = DataSectionLines(gbk, groups);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], Ansi(L"工具=") + Encoded(kNotepad) + "," + Encoded(kEmptyFields) + "," + Encoded(kWeb) + "," +
                            Encoded(kOwnIcon) + ",");
    EXPECT_EQ(lines[1], Ansi(L"空=,"));

    std::string file = "[Config]\r\nVersion=1.3.6\r\n[Data]\r\n";
    for (const auto& line : lines) file += line + "\r\n";
    // The same lines, written straight after what stands before them.
    std::string appended = "[Config]\r\nVersion=1.3.6\r\n[Data]\r\n";
    AppendDataSection(gbk, groups, "\r\n", appended);
    EXPECT_EQ(appended, file);
    const LoadedData loaded = LoadData(gbk, file);
    EXPECT_TRUE(loaded.errors.empty());
    // Saved as loaded, then once the items were made from the records.
    EXPECT_EQ(DataSectionLines(gbk, loaded.groups), lines);
    EXPECT_EQ(loaded.groups, groups);
    EXPECT_EQ(loaded.groups[0].Stored(), nullptr);
    EXPECT_EQ(DataSectionLines(gbk, loaded.groups), lines);
}

TEST(DataFile, LoadedGroupsBecomeItemsOnFirstUse) {
    // A record that no writer makes (fields in another order) and a GBK one.
    const std::wstring oddText = L"Title:\"乱序\",Count:\"2\",Path:\"p\",";
    const std::wstring oddEncoded = EncodeText(gbk, oddText);
    const std::string odd(oddEncoded.begin(), oddEncoded.end());
    const std::string first = Ansi(L"工具=") + Encoded(kNotepad) + "," + Encoded(kWeb) + ",";
    const std::string second = "odd=" + odd + ",";
    const LoadedData loaded = LoadData(gbk, first + "\r\n" + second + "\r\n");
    ASSERT_EQ(loaded.groups.size(), 2u);
    EXPECT_TRUE(loaded.errors.empty());
    ASSERT_NE(loaded.groups[0].Stored(), nullptr);

    // Untouched groups are written back as they were read, the odd record too.
    EXPECT_EQ(DataSectionLines(gbk, loaded.groups), (std::vector<std::string>{first, second}));

    // A copy made before first use has its own items; the original keeps its records.
    Group copy = loaded.groups[0];
    copy.Items()[0].count = L"4";
    ItemRecord counted = kNotepad;
    counted.count = L"4";
    EXPECT_EQ(DataSectionLines(gbk, {copy})[0], Ansi(L"工具=") + Encoded(counted) + "," + Encoded(kWeb) + ",");
    EXPECT_NE(loaded.groups[0].Stored(), nullptr);
    EXPECT_EQ(loaded.groups[0].Items(), (std::vector<ItemRecord>{kNotepad, kWeb}));

    // Once made, the odd record is an item like any other and written in the writer's layout.
    EXPECT_EQ(loaded.groups[1].Items(), std::vector<ItemRecord>{CutFieldsReference(oddText)});
    EXPECT_EQ(DataSectionLines(gbk, {loaded.groups[1]})[0], "odd=" + Encoded(CutFieldsReference(oddText)) + ",");
}

TEST(DataFile, ReadsGroupLinesWhereverTheyStandAndHowLinesEnd) {
    const std::string record = Encoded(kNotepad);
    const std::string file = "x=" + record + ",\n[Config]\rTitle=abc\r\n[Data]\r\nlast=" + record + ",";
    const LoadedData loaded = LoadData(gbk, file);
    ASSERT_EQ(loaded.groups.size(), 2u);
    EXPECT_EQ(loaded.groups[0].title, L"x");
    EXPECT_EQ(loaded.groups[1].Items(), std::vector<ItemRecord>{kNotepad});
    EXPECT_TRUE(loaded.errors.empty());
}

TEST(DataFile, BrokenRecordsAreReportedAndTheRestIsLoaded) {
    const std::string good = Encoded(kNotepad);
    const std::string file =
        "g1=" + good + ",@@not base64@@," + good + ",\r\n"  // an alien record between two good ones
        "g2=" + good.substr(0, good.size() / 2) + "xyz,\r\n"  // truncated: decodes to no record
        "g3=,,\r\n"                                            // two empty records
        "stray line,\r\n"                                      // no title
        "g4=" + good + ",\r\n";
    const LoadedData loaded = LoadData(gbk, file);
    ASSERT_EQ(loaded.groups.size(), 4u);
    EXPECT_EQ(loaded.groups[0].Items().size(), 2u);
    EXPECT_TRUE(loaded.groups[1].Items().empty());
    EXPECT_EQ(loaded.groups[3].Items(), std::vector<ItemRecord>{kNotepad});
    ASSERT_EQ(loaded.errors.size(), 5u);
    EXPECT_EQ(loaded.errors[0].line, 1u);
    EXPECT_EQ(loaded.errors[0].record, 2u);
    EXPECT_EQ(loaded.errors[1].group, L"g2");
    EXPECT_EQ(loaded.errors[3].record, 2u);
    EXPECT_EQ(loaded.errors[4].line, 4u);
    EXPECT_EQ(loaded.errors[4].record, 0u);
}

// Records of any shape: the loader's fast ways of cutting give the fields
// that the reference reader cuts, whether the bytes are ASCII or not.
TEST(DataFile, LoadedFieldsAreThoseOfCutFieldsReference) {
    const std::wstring texts[] = {
        RecordText(kWeb),
        RecordText({L"aPath:", L"p", L"i", L"a", L"1"}),        // a title ending like an opening
        RecordText({L"C:", L"D:", L"", L"x:", L":"}),           // values ending with ":"
        RecordText({L"say \"hi\"", L"a\"b", L"\"", L"", L"2"}),  // quotes in values
        RecordText({L"x\",Path:\"y", L"real", L"", L"", L"3"}),   // a value holding a closing and an opening
        RecordText({L"IcoPath:\"q", L"p", L"i", L"", L"4"}),
        L"Title:\"t\",Count:\"9\",Path:\"p\",",                   // fields out of order, some missing
        L"Title:\"t\",Path:\"p\",IcoPath:\"i\",Parm:\"a\",Count:\"5\",Parm:\"again\",",
        L"Title:\"" + std::wstring(60, L'"') + L"\",Path:\"many quotes\",",
        L"Title:\"记事本\",Path:\"D:\\软件\\\",Path:\",IcoPath:\"\",Parm:\"\",Count:\"\",",
    };
    for (const std::wstring& text : texts) {
        const std::wstring stored = EncodeText(gbk, text);
        const LoadedData loaded = LoadData(gbk, "g=" + std::string(stored.begin(), stored.end()) + ",");
        ASSERT_EQ(loaded.groups.size(), 1u);
        ASSERT_EQ(loaded.groups[0].Items().size(), 1u) << testing::PrintToString(text);
        EXPECT_EQ(loaded.groups[0].Items()[0], CutFieldsReference(text)) << testing::PrintToString(text);
    }
}

// Each record is read on its own: a NUL in one or a lead byte at the end of
// another changes nothing for its neighbours.
TEST(DataFile, RecordsAreReadOneByOne) {
    const test::GreedyDbcsCodePage greedy;
    auto stored = [&](const ItemRecord& item, std::string_view after) {
        const std::string bytes = greedy.ToAnsi(RecordText(item), nullptr) + std::string(after);
        std::string out(EncodedSize(bytes.size()), '\0');
        EncodeBytesTo(bytes, out.data());
        return out + ",";
    };
    const ItemRecord withNul{std::wstring(L"a\0b", 3), L"p", L"", L"", L"1"};
    const std::string file =
        "g=" + stored(withNul, "") + stored(kWeb, "\x81") /* ends in a lead byte */ + stored(kEmptyFields, "") + "\r\n";
    const LoadedData loaded = LoadData(greedy, file);
    ASSERT_EQ(loaded.groups.size(), 1u);
    EXPECT_EQ(loaded.groups[0].Items(), (std::vector<ItemRecord>{withNul, kEmptyFields}));
    ASSERT_EQ(loaded.errors.size(), 1u);
    EXPECT_EQ(loaded.errors[0].record, 2u);
}

// The rule that says which values a record can carry agrees with what a
// save and a load do: a record it accepts comes back as it was, and one it
// refuses would not.
TEST(DataFile, TheRecordCarriesExactlyWhatItSaysItCan) {
    struct Case {
        ItemRecord item;
        std::wstring_view refused;
    };
    const Case cases[] = {
        {kNotepad, L""},
        {{L"a\"b", L"C:\\x\"", L"\"", L"say \"hi\"", L"1"}, L""},
        {{L"a\",b", L"C:\\x", L"", L"", L"1"}, L"Title"},
        {{L"t", L"C:\\x", L"", L"--x \",Count:\"999\",", L"1"}, L"Parm"},
        {{L"Path:\"D:\\evil.exe", L"C:\\x", L"", L"", L"1"}, L"Title"},
        {{L"t", L"C:\\x", L"", L"Count:\"5", L"1"}, L"Parm"},
        {{L"t", L"C:\\x", L"Parm:\"-y", L"", L"1"}, L"IcoPath"},
        {{L"IcoPath:\"", L"C:\\x", L"", L"", L"1"}, L"Title"},
        {{L"t:", L"C:\\x:", L"y:", L"z:", L"1"}, L""},
        {{L"Title:\"", L"C:\\x", L"", L"", L"1"}, L""},  // the title's own opening is found first anyway
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FieldTheRecordCannotHold(c.item), c.refused) << c.item.title;
        const std::string file = "[Data]\r\n" + DataSectionLines(gbk, {Group(L"g", {c.item})})[0] + "\r\n";
        const LoadedData loaded = LoadData(gbk, file);
        ASSERT_EQ(loaded.groups.size(), 1u);
        EXPECT_EQ(loaded.groups[0].Items() == std::vector<ItemRecord>{c.item}, c.refused.empty()) << c.item.title;
    }
}

TEST(DataFile, DuplicateTitlesStayTwoGroups) {
    const std::string file = "same=,\r\nsame=" + Encoded(kWeb) + ",\r\n";
    const LoadedData loaded = LoadData(gbk, file);
    ASSERT_EQ(loaded.groups.size(), 2u);
    EXPECT_EQ(DataSectionLines(gbk, loaded.groups), (std::vector<std::string>{"same=,", "same=" + Encoded(kWeb) + ","}));
}

TEST(DataFile, TextTheCodePageCannotHoldIsReported) {
    std::vector<LossyText> lossy;
    const std::vector<Group> groups = {
        {L"ok", {kNotepad, {L"Thai \u0E01", L"p", L"", L"", L"0"}, {L"own icon", L"\u0E03.exe", L"\u0E03.exe", L"", L"0"}}},
        {L"\u0E02 group", {}}};
    const auto lines = DataSectionLines(gbk, groups, &lossy);
    ASSERT_EQ(lossy.size(), 3u);
    EXPECT_EQ(lossy[0].group, L"ok");
    EXPECT_EQ(lossy[0].item, L"Thai \u0E01");
    EXPECT_EQ(lossy[1].item, L"own icon");
    EXPECT_EQ(lossy[2].item, L"");
    // Only the one character is lost; the rest of the record is stored.
    const LoadedData loaded = LoadData(gbk, lines[0] + "\r\n");
    ASSERT_EQ(loaded.groups[0].Items().size(), 3u);
    EXPECT_EQ(loaded.groups[0].Items()[1], (ItemRecord{L"Thai ?", L"p", L"", L"", L"0"}));
    EXPECT_EQ(loaded.groups[0].Items()[2], (ItemRecord{L"own icon", L"?.exe", L"?.exe", L"", L"0"}));
}

TEST(DataFile, HugeAndHostileInputDoesNotHang) {
    std::string file(10 << 20, 'A');  // a 10 MB line without a comma: no group
    file += "\r\n";
    for (int i = 0; i < 200000; ++i) file += "k=v\r\n";
    file += std::string("bin\0ary=\xff\xfe,", 11) + "\r\n";
    const LoadedData loaded = LoadData(gbk, file);
    ASSERT_EQ(loaded.groups.size(), 1u);
    EXPECT_TRUE(loaded.groups[0].Items().empty());
}

}  // namespace
}  // namespace mivra
