// Explorer's own menu for a real file: it opens, cancels without a command,
// carries out the one chosen (Copy, which needs OLE on this thread), and
// shows nothing for a path that does not exist.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/Files.h"
#include "shell/ShellContextMenu.h"
#include "support/MenuChooser.h"
#include "support/TestSupport.h"

namespace mivra::test {
namespace {

class ShellContextMenu : public ::testing::Test {
protected:
    void SetUp() override {
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr,
                                nullptr, nullptr);
        ASSERT_TRUE(owner);
        file = (folder / L"notes.txt").wstring();
        ASSERT_TRUE(win::WriteFileAtomically(file, "some notes"));
    }
    void TearDown() override { DestroyWindow(owner); }
    // Shows the menu; a MenuChooser made before decides what happens in it.
    bool Show(const std::wstring& path) { return win::ShowShellMenuFor(owner, path, POINT{150, 150}); }

    ScratchDir folder{L"mivra-shell-menu"};
    std::wstring file;
    HWND owner = nullptr;
};

TEST_F(ShellContextMenu, OpensForAFileAndCancellingInvokesNothing) {
    MenuChooser cancel({});
    EXPECT_FALSE(Show(file));
    EXPECT_FALSE(cancel.Captions().empty()) << "the shell's menu was on the screen";
}

TEST_F(ShellContextMenu, TheChosenCopyPutsTheFileOnTheClipboard) {
    std::wstring copy;  // the entry whose mnemonic is C, in this system's language
    {
        MenuChooser look({});
        Show(file);
        for (const std::wstring& caption : look.Captions())
            if (caption.find(L"&C") != std::wstring::npos) copy = caption;
    }
    ASSERT_FALSE(copy.empty()) << "the menu has a Copy entry";
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    MenuChooser choose({copy});
    EXPECT_TRUE(Show(file));
    EXPECT_TRUE(choose.Chosen());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_HDROP)) << "the shell's Copy took effect";
}

TEST_F(ShellContextMenu, APathThatDoesNotExistShowsNothing) {
    MenuChooser none({});
    EXPECT_FALSE(Show((folder / L"missing\\nothing.exe").wstring()));
    EXPECT_FALSE(Show(L""));
    EXPECT_FALSE(none.MenuSeen());
}

}  // namespace
}  // namespace mivra::test
