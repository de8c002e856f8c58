// Explorer's own menu for a real file: it opens, cancels without a command,
// carries out the one chosen (Copy, which needs OLE on this thread), and
// shows nothing for a path that does not exist.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/Files.h"
#include "shell/ShellContextMenu.h"
#include "support/TestSupport.h"

namespace mivra::test {
namespace {

// What the timer does once the menu is on the screen: the timer's messages
// come through the menu's own loop, on this thread.
struct MenuDriver {
    enum class Action { Cancel, Copy } action = Action::Cancel;
    int itemsSeen = -1;  // the items of the menu when it was found; -1: no menu came
    std::wstring copyEntry;
    int ticks = 0;
};
MenuDriver* driver = nullptr;

void CALLBACK DriveMenu(HWND, UINT, UINT_PTR, DWORD) {
    MenuDriver& d = *driver;
    if (++d.ticks > 100) {  // five seconds: never hang the test
        EndMenu();
        return;
    }
    HWND window = FindWindowW(L"#32768", nullptr);
    if (!window || !IsWindowVisible(window) || d.itemsSeen >= 0) return;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
    d.itemsSeen = GetMenuItemCount(menu);
    if (d.action == MenuDriver::Action::Cancel) {
        EndMenu();
        return;
    }
    for (int i = 0; i < d.itemsSeen; ++i) {
        wchar_t text[128] = L"";
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        if (std::wstring(text).find(L"&C") != std::wstring::npos) d.copyEntry = text;
    }
    // The entry's mnemonic, as typed.
    PostMessageW(GetForegroundWindow(), WM_KEYDOWN, 'C', 0);
}

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
    bool Show(const std::wstring& path, MenuDriver& d) {
        driver = &d;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, &DriveMenu);
        const bool chosen = win::ShowShellMenuFor(owner, path, POINT{150, 150});
        KillTimer(nullptr, timer);
        driver = nullptr;
        return chosen;
    }

    ScratchDir folder{L"mivra-shell-menu"};
    std::wstring file;
    HWND owner = nullptr;
};

TEST_F(ShellContextMenu, OpensForAFileAndCancellingInvokesNothing) {
    MenuDriver d;
    EXPECT_FALSE(Show(file, d));
    EXPECT_GT(d.itemsSeen, 0) << "the shell's menu was on the screen";
}

TEST_F(ShellContextMenu, TheChosenCopyPutsTheFileOnTheClipboard) {
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    MenuDriver d;
    d.action = MenuDriver::Action::Copy;
    const bool chosen = Show(file, d);
    ASSERT_FALSE(d.copyEntry.empty()) << "the menu has a Copy entry";
    EXPECT_TRUE(chosen);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_HDROP)) << "the shell's Copy took effect";
}

TEST_F(ShellContextMenu, APathThatDoesNotExistShowsNothing) {
    MenuDriver d;
    EXPECT_FALSE(Show((folder / L"missing\\nothing.exe").wstring(), d));
    EXPECT_FALSE(Show(L"", d));
    EXPECT_EQ(d.itemsSeen, -1);
}

}  // namespace
}  // namespace mivra::test
