#include "items/ItemConvert.h"

#include <gtest/gtest.h>

namespace mivra {
namespace {

constexpr std::wstring_view kProgramDir = L"D:\\Mivra";

TEST(ItemConvert, ConvertsPathAndIconPath) {
    struct Case {
        int mode;
        std::wstring before, after;
    };
    const Case cases[] = {
        {1, L"D:\\Mivra\\apps\\x.exe", L"%rp%\\apps\\x.exe"},
        {1, L"d:\\Other\\y.exe", L"%rr%\\Other\\y.exe"},
        {1, L"E:\\Mivra\\z.exe", L"E:\\Mivra\\z.exe"},
        {1, L"http://example.com", L"http://example.com"},
        {1, L"", L""},
        {2, L"%rp%\\apps\\x.exe", L"D:\\Mivra\\apps\\x.exe"},
        {2, L"%RR%\\Tools\\a.exe", L"D:\\Tools\\a.exe"},
        {2, L"%Rp%\\a\\%Rp%\\b", L"D:\\Mivra\\a\\D:\\Mivra\\b"},  // every occurrence as spelled
        {2, L"%RP%\\a\\%rp%", L"D:\\Mivra\\a\\%rp%"},               // not other spellings
        {2, L"%rp%\\\\a\\\\b", L"D:\\Mivra\\a\\b"},
        {2, L"\\\\server\\\\share", L"\\\\server\\\\share"},  // no marker: left as stored
        {2, L"%windir%\\x.exe", L"%windir%\\x.exe"},
        {2, L"%rp", L"%rp"},
        {2, L"D:\\Mivra\\x.exe", L"D:\\Mivra\\x.exe"},
        {0, L"D:\\Mivra\\x.exe", L"D:\\Mivra\\x.exe"},
        {3, L"%rp%\\x.exe", L"%rp%\\x.exe"},
    };
    for (const auto& [mode, before, after] : cases) {
        std::vector<ItemRecord> items = {{L"t", before, L"", L"", L"1"}, {L"t", L"", before, L"", L"1"}};
        EXPECT_EQ(ConvertItems(items, mode, kProgramDir), before != after) << mode << " " << before;
        const std::vector<ItemRecord> expected = {{L"t", after, L"", L"", L"1"}, {L"t", L"", after, L"", L"1"}};
        EXPECT_EQ(items, expected) << mode << " " << before;
    }
}

TEST(ItemConvert, PortableAndBackRestoresPathsInTheProgramDirectory) {
    const std::vector<ItemRecord> original = {{L"a", L"D:\\Mivra\\apps\\x.exe", L"D:\\Mivra\\icons\\x.ico", L"-p", L"3"},
                                              {L"b", L"D:\\Tools\\a.exe", L"", L"", L""}};
    auto items = original;
    ASSERT_TRUE(ConvertItems(items, 1, kProgramDir));
    EXPECT_EQ(items[0].path, L"%rp%\\apps\\x.exe");
    EXPECT_EQ(items[0].icoPath, L"%rp%\\icons\\x.ico");
    ASSERT_TRUE(ConvertItems(items, 2, kProgramDir));
    EXPECT_EQ(items, original);
}

}  // namespace
}  // namespace mivra
