// The memo's and the hosts editor's texts: frames, line breaks, and the
// characters the code page cannot hold named in a question.

#include <gtest/gtest.h>

#include "CountingCodePage.h"
#include "IconvCodePage.h"
#include "tools/ToolText.h"

namespace mivra {
namespace {

TEST(ToolText, EachModeHasItsCaptionAndOuterSize) {
    struct {
        ToolMode mode;
        std::wstring_view caption;
        int width, height;
    } const cases[] = {{ToolMode::Memo, L"Mivra 备忘录", 500, 500},
                       {ToolMode::HostsEditor, L"Mivra hosts编辑器", 500, 500},
                       {ToolMode::Shutdown, L"Mivra 自动关机", 200, 140}};
    for (const auto& c : cases) {
        const ToolFrame frame = FrameOf(c.mode);
        EXPECT_EQ(frame.caption, c.caption);
        EXPECT_EQ(frame.width, c.width);
        EXPECT_EQ(frame.height, c.height);
    }
}

TEST(ToolText, TheTextBecomesWhatAnEditBoxHolds) {
    using namespace std::string_view_literals;
    const std::pair<std::wstring_view, std::wstring_view> cases[] = {
        {L"", L""},          {L"a\r\nb", L"a\r\nb"}, {L"a\nb\n", L"a\r\nb\r\n"},
        {L"a\rb", L"a\r\nb"}, {L"\n\r\n\r", L"\r\n\r\n\r\n"}, {L"a\r\r\nb", L"a\r\n\r\nb"},
        {L"a\0b\0"sv, L"a b "},
    };
    for (auto [in, out] : cases) EXPECT_EQ(TextForEditBox(in), out);
}

TEST(ToolText, NamesEachCharacterTheCodePageCannotHoldOnceInOrder) {
    const test::IconvCodePage gbk("CP936");
    EXPECT_EQ(UnsavableCharacters(gbk, L"中文 hosts 127.0.0.1\r\n"), L"");
    EXPECT_EQ(UnsavableCharacters(gbk, L"价格 한5, 😀 and 한6 😀"), L"“한”（U+D55C）、“😀”（U+1F600）");
    EXPECT_EQ(UnsavableCharacters(gbk, L"a\u200Bb"), L"“\u200B”（U+200B）") << "named with its code too";
    const test::IconvCodePage latin("CP1252");
    EXPECT_EQ(UnsavableCharacters(latin, L"x\x81y"), L"U+0081") << "a control is named by its code alone";
    EXPECT_EQ(UnsavableCharacters(latin, L"ąćęłńóśźżĄ", 3), L"“ą”（U+0105）、“ć”（U+0107）、“ę”（U+0119） 等另外 6 个字符");
}

TEST(ToolText, TheQuestionNamesTheFileAndTheCharacters) {
    const std::wstring question = UnsavableQuestion(L"Memo.txt", L"“€”（U+20AC）");
    EXPECT_NE(question.find(L"Memo.txt"), std::wstring::npos);
    EXPECT_NE(question.find(L"“€”（U+20AC）"), std::wstring::npos);
    EXPECT_NE(question.find(L"取消"), std::wstring::npos);
}

// A long text full of unsavable characters costs one conversion of the text
// and one per distinct character, not one per character.
TEST(ToolText, FindingTheCharactersIsLinear) {
    const test::IconvCodePage gbk("CP936");
    const test::CountingCodePage counting(gbk);
    std::wstring text;
    for (int i = 0; i < 200000; ++i) text += (i % 2) ? L"한" : L"a";
    EXPECT_EQ(UnsavableCharacters(counting, text), L"“한”（U+D55C）");
    EXPECT_LE(counting.units, text.size() + 10);
}

}  // namespace
}  // namespace mivra
