// Applying the installed skin at start-up: only a file the program installed
// (its check value matches its time) is applied; anything else is deleted.

#include <gtest/gtest.h>

#include <fstream>

#include "MemoryStorage.h"
#include "base/WinCodePage.h"
#include "main/SkinLoading.h"
#include "support/TestSupport.h"
#include "text/TextCoder.h"

namespace mivra::test {
namespace {

using win::SkinLoad;

// A 2 x 1 bitmap file, 24 bits per pixel: enough for a picture value.
std::string TinyBitmap() {
    const unsigned char bytes[] = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
                                   40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 8, 0, 0, 0,
                                   0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // info header
                                   255, 0, 0, 0, 255, 0, 0, 0};                    // blue, green, padding
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

std::wstring SkinText(std::wstring_view name) {
    return L"Name=" + std::wstring(name) + L"\rBGColor=40,44,52\rFGColor=220,220,220\rBDColor=10,10,10\rBorder=1\r"
           L"TitleBarHeight=32\rTabBDColor=1,2,3\rTabFGColor=4,5,6\rTabFGColor2=7,8,9\rItemFGColor=200,201,202\r"
           L"picItem=" + Base64(TinyBitmap()) + L"\rpicSearch=\rpicMenu=\rpicMini=\rpicQuit=\rpicTab=\r";
}

class SkinLoadingTest : public ::testing::Test {
protected:
    void WriteSkin(const std::wstring& text) {
        const std::string bytes = win::SystemCodePage().ToAnsi(EncodeText(win::SystemCodePage(), text));
        std::ofstream(skin, std::ios::binary) << bytes;
    }
    void Install() { config.SetConfig(Opt::SkinCheck, win::CurrentSkinCheckValue(skin.wstring()), L"", true); }
    SkinLoad Load() { return win::LoadSkin(skin.wstring(), config, win::SystemCodePage(), look); }
    bool SkinExists() const { return std::filesystem::exists(skin); }
    bool CheckStored() { return !config.GetConfigStr(Opt::SkinCheck, L"").empty(); }

    ScratchDir dir{L"mivra-skin"};
    std::filesystem::path skin = dir / L"Mivra.skin";
    MemoryStorage storage;
    RecordingNotifier notifier;
    Configuration config{win::SystemCodePage(), storage, notifier};
    win::PanelLook look = win::PanelLook::BuiltIn();
};

TEST_F(SkinLoadingTest, WithoutAFileTheProgramsOwnLookStays) {
    config.SetConfig(Opt::SkinCheck, L"ABCDEF01", L"", true);
    EXPECT_EQ(Load(), SkinLoad::None);
    EXPECT_EQ(look.skinName, L"Default");
    EXPECT_FALSE(CheckStored());
    EXPECT_EQ(look.bgColor, RGB(230, 230, 230));
}

TEST_F(SkinLoadingTest, AnInstalledSkinIsApplied) {
    WriteSkin(SkinText(L"夜色"));
    Install();
    const int quitWidth = look.quitButton.width();
    ASSERT_EQ(Load(), SkinLoad::Applied);
    EXPECT_EQ(look.skinName, L"夜色");
    EXPECT_EQ(look.bgColor, RGB(40, 44, 52));
    EXPECT_EQ(look.fgColor, RGB(220, 220, 220));
    EXPECT_EQ(look.border, 1);
    EXPECT_EQ(look.titleBarHeight, 32);
    EXPECT_EQ(look.tabFgColor2, RGB(7, 8, 9));
    EXPECT_EQ(look.itemFgColor, RGB(200, 201, 202));
    // One integer subtraction of RGB(20,20,20), with borrows.
    EXPECT_EQ(look.searchBgColor, static_cast<COLORREF>(RGB(40, 44, 52) - 1315860));
    EXPECT_EQ(look.item.width(), 2);
    EXPECT_EQ(look.item.PixelAt(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(look.quitButton.width(), quitWidth) << "pictures the skin leaves out keep the program's own";
    EXPECT_TRUE(SkinExists());
    EXPECT_TRUE(CheckStored());
}

TEST_F(SkinLoadingTest, AFilePlacedByHandIsDeleted) {
    WriteSkin(SkinText(L"夜色"));
    config.SetConfig(Opt::SkinCheck, L"0BADF00D", L"", true);
    EXPECT_EQ(Load(), SkinLoad::Refused);
    EXPECT_FALSE(SkinExists());
    EXPECT_FALSE(CheckStored());
    EXPECT_EQ(look.bgColor, RGB(230, 230, 230));
}

TEST_F(SkinLoadingTest, AnUnreadableSkinIsDeleted) {
    for (const std::wstring& text : {SkinText(L""), std::wstring(L"Name=x\rBGColor=1,2\r"), std::wstring(L"garbage")}) {
        WriteSkin(text);
        Install();
        EXPECT_EQ(Load(), SkinLoad::Refused);
        EXPECT_FALSE(SkinExists());
        EXPECT_FALSE(CheckStored());
    }
}

// Refused only when it was read: a skin another program holds for a moment,
// or one whose check value is unknown because the configuration cannot be
// read, stays for the next start, and the program's own look is shown.
TEST_F(SkinLoadingTest, ASkinThatCannotBeReadNowIsKept) {
    WriteSkin(SkinText(L"夜色"));
    Install();
    {
        win::UniqueFile held(CreateFileW(skin.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(Load(), SkinLoad::None);
    }
    EXPECT_TRUE(SkinExists());
    EXPECT_TRUE(CheckStored());
    EXPECT_EQ(look.bgColor, RGB(230, 230, 230));

    storage.failReads = true;
    storage.Replace(*storage.bytes);  // changed on disk and now out of reach
    EXPECT_EQ(Load(), SkinLoad::None);
    EXPECT_TRUE(SkinExists());
    // The next start reads the configuration and applies the skin.
    storage.failReads = false;
    Configuration next{win::SystemCodePage(), storage, notifier};
    EXPECT_EQ(win::LoadSkin(skin.wstring(), next, win::SystemCodePage(), look), SkinLoad::Applied);
}

TEST_F(SkinLoadingTest, ASkinNamedDefaultIsShownOnceThenRemoved) {
    WriteSkin(SkinText(L"Default"));
    Install();
    EXPECT_EQ(Load(), SkinLoad::Applied);
    EXPECT_EQ(look.bgColor, RGB(40, 44, 52));
    EXPECT_FALSE(SkinExists());
    EXPECT_FALSE(CheckStored());
}

}  // namespace
}  // namespace mivra::test
