// The program's text coder on the system's own code page (936 in the tests).

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace mivra::test
