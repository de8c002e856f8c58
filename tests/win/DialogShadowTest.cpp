// A dialog's shadow follows the dialog it was given to.

#include <gtest/gtest.h>
#include <windows.h>

#include "MessagePump.h"
#include "shadow/DialogShadow.h"

namespace mivra::test {
namespace {

RECT RectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

TEST(DialogShadow, ShowsMovesAndHidesWithItsDialog) {
    HWND dialog = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 200, 150, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(dialog);
    win::DialogShadow shadow;
    ASSERT_TRUE(shadow.Attach(GetModuleHandleW(nullptr), dialog));
    EXPECT_FALSE(IsWindowVisible(shadow.Shadow())) << "hidden while the dialog is";

    ShowWindow(dialog, SW_SHOWNA);
    EXPECT_FALSE(IsWindowVisible(shadow.Shadow())) << "not before the dialog has painted";
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(shadow.Shadow()); }));
    EXPECT_FALSE(GetUpdateRect(dialog, nullptr, FALSE)) << "shown after the dialog's paint";
    const auto rings = [&] {
        const RECT d = RectOf(dialog), s = RectOf(shadow.Shadow());
        return s.left == d.left - 6 && s.top == d.top - 6 && s.right == d.right + 6 && s.bottom == d.bottom + 6;
    };
    EXPECT_TRUE(rings());
    EXPECT_NE(GetWindowLongW(shadow.Shadow(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "raised once the dialog shows";

    SetWindowPos(dialog, nullptr, 50, 60, 320, 240, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(rings()) << "follows moves and sizes";
    ShowWindow(dialog, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(shadow.Shadow()));
    // Shown the way the item editor is, without a WM_SHOWWINDOW.
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(shadow.Shadow()); })) << "a dialog shown by SetWindowPos";
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_HIDEWINDOW | SWP_NOACTIVATE);
    EXPECT_FALSE(IsWindowVisible(shadow.Shadow()));
    DestroyWindow(dialog);
    EXPECT_FALSE(IsWindow(shadow.Shadow())) << "an owned window goes with its owner";
}

}  // namespace
}  // namespace mivra::test
