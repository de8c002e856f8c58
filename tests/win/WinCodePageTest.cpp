// The program's text coder on the system's own code page (936 in the tests).

#include <gtest/gtest.h>

#include <random>

#include "base/WinCodePage.h"
#include "text/TextCoder.h"

namespace mivra::test {
namespace {

TEST(WinCodePage, TestsRunOnCodePage936) { EXPECT_EQ(GetACP(), 936u); }

TEST(WinCodePage, EncodesTheSystemsAnsiBytes) {
    const auto& cp = win::SystemCodePage();
    // 中文 is D6 D0 CE C4 in GBK: base64 1tDOxA==, letter case swapped.
    EXPECT_EQ(EncodeText(cp, L"中文"), L"1TdoXa==");
    EXPECT_EQ(DecodeText(cp, L"1TdoXa=="), L"中文");
    EXPECT_EQ(EncodeText(cp, L"abc"), L"ywjJ");
    for (std::wstring_view text : {L"", L"C:\\工具 目录\\a.exe", L"-x \"y\" 100%", L"全角：，。"})
        EXPECT_EQ(DecodeText(cp, EncodeText(cp, text)), text);
}

TEST(WinCodePage, ReportsTextTheCodePageCannotHold) {
    bool lossy = false;
    EXPECT_EQ(win::SystemCodePage().ToAnsi(L"a\u0E01b", &lossy), "a?b");  // Thai is not in GBK
    EXPECT_TRUE(lossy);
    lossy = false;
    win::SystemCodePage().ToAnsi(L"中文", &lossy);
    EXPECT_FALSE(lossy);
}

// Text either comes back as it was or is reported lost: no look-alike
// stands in for a character (a fullwidth quote must not become a quote,
// which would end a record's field early).
TEST(WinCodePage, EveryCharacterRoundTripsOrIsReportedLost) {
    struct Case {
        UINT codePage;
        std::wstring text;
        bool kept;
    };
    const std::wstring fullwidth = L"＂，Path：＂Ｃ：＼ａ";
    const std::wstring loneSurrogate(1, static_cast<wchar_t>(0xD800));
    for (const Case& c : {Case{1252, fullwidth, false}, Case{936, fullwidth, true}, Case{1252, L"\u221E", false},
                          Case{936, L"\u221E", true}, Case{1252, L"é", true}, Case{936, L"é", true},
                          Case{1252, L"a" + loneSurrogate, false}, Case{936, L"a" + loneSurrogate, false},
                          Case{65001, L"a" + loneSurrogate, false}, Case{65001, fullwidth, true}}) {
        const win::WinCodePage cp(c.codePage);
        bool lossy = false;
        const std::string bytes = cp.ToAnsi(c.text, &lossy);
        const bool roundTrips = cp.FromAnsi(bytes) == c.text;
        EXPECT_EQ(roundTrips, c.kept) << c.codePage;
        EXPECT_EQ(lossy, !roundTrips) << c.codePage << ": lost text is reported, kept text is not";
        EXPECT_EQ(bytes.find_first_of("\",:\\"), std::string::npos) << c.codePage << " " << bytes;
    }
}

TEST(WinCodePage, SecondBytesInTheAsciiRangeStayWithTheirCharacter) {
    const auto& cp = win::SystemCodePage();
    // 丂 is 81 40 in GBK: its second byte is "@".
    EXPECT_EQ(cp.FromAnsi("\x81\x40" "abc\xD6\xD0\x81\x5D]"), L"丂abc中\u4E5A]");
    EXPECT_EQ(cp.ToAnsi(L"丂abc中"), "\x81\x40" "abc\xD6\xD0");
    EXPECT_EQ(cp.FromAnsi("a\x81").substr(0, 1), L"a");  // a lead byte at the end: no crash, nothing read beyond
}

// ASCII goes a block at a time and the rest through the system: runs of
// every length, at every place in a block, read and write as the system
// converts the whole text.
TEST(WinCodePage, LongMixedTextsConvertAsTheSystemConvertsThem) {
    const auto& cp = win::SystemCodePage();
    const std::wstring pieces[] = {L"中", L"文件", L"丂", L"\u0E01", L"\U0001F600", L"é"};
    std::mt19937 random(936);
    for (int round = 0; round < 200; ++round) {
        std::wstring text;
        while (text.size() < 300) {
            text.append(random() % 40, static_cast<wchar_t>(L' ' + random() % 90));
            text += pieces[random() % std::size(pieces)];
        }
        BOOL usedDefault = FALSE;
        std::string expected(text.size() * 2, '\0');
        expected.resize(WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), expected.data(),
                                            static_cast<int>(expected.size()), nullptr, &usedDefault));
        bool lossy = false;
        std::string bytes = "kept";
        cp.AppendToAnsi(text, bytes, &lossy);
        ASSERT_EQ(bytes, "kept" + expected);
        EXPECT_EQ(lossy, usedDefault != FALSE);

        std::wstring back(expected.size(), L'\0');
        back.resize(MultiByteToWideChar(936, 0, expected.data(), static_cast<int>(expected.size()), back.data(),
                                        static_cast<int>(back.size())));
        std::wstring read = L"kept";
        cp.AppendFromAnsi(expected, read);
        ASSERT_EQ(read, L"kept" + back);
        EXPECT_EQ(cp.FromAnsi(expected), back);
    }
}

TEST(WinCodePage, Utf8AsTheAnsiCodePageWorks) {
    // Windows can be set to use UTF-8 as its ANSI code page.
    const win::WinCodePage utf8(CP_UTF8);
    bool lossy = false;
    const std::string bytes = utf8.ToAnsi(L"中文 é \U0001F600", &lossy);
    EXPECT_EQ(bytes, "\xE4\xB8\xAD\xE6\x96\x87 \xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_FALSE(lossy);
    EXPECT_EQ(utf8.FromAnsi(bytes), L"中文 é \U0001F600");
}

}  // namespace
}  // namespace mivra::test
