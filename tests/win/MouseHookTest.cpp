// The global mouse hook on its own thread: a gesture that is switched on
// posts the toggle to the panel's window; one that is off posts nothing.

#include <gtest/gtest.h>
#include <windows.h>

#include "MessagePump.h"
#include "app/MouseHook.h"

namespace mivra::test {
namespace {

constexpr UINT kToggle = WM_APP + 5;

void MiddleClick() {
    INPUT clicks[2]{};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_MIDDLEDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_MIDDLEUP;
    SendInput(2, clicks, sizeof(INPUT));
}

// Whether a toggle arrives at `window` within a second (other messages wait).
bool ToggleArrives(HWND window) {
    const DWORD end = GetTickCount() + 1000;
    MSG msg;
    while (!PeekMessageW(&msg, window, kToggle, kToggle, PM_REMOVE)) {
        const DWORD now = GetTickCount();
        if (static_cast<LONG>(end - now) <= 0) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_POSTMESSAGE);
    }
    return true;
}

TEST(MouseHook, AGestureThatIsOnPostsTheToggle) {
    // Wine shows the hook what happens over its own windows only: the pointer rests on this one.
    HWND target = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_TRUE(target);
    SetCursorPos(100, 100);
    Pump();
    win::MouseHook hook;
    hook.SetOptions({false, false});
    ASSERT_TRUE(hook.Start(target, kToggle));
    MiddleClick();
    EXPECT_FALSE(ToggleArrives(target)) << "both gestures are off";

    hook.SetOptions({true, false});
    MiddleClick();
    EXPECT_TRUE(ToggleArrives(target)) << "the middle button is on";
    hook.Stop();
    EXPECT_FALSE(hook.Running());
    MiddleClick();
    EXPECT_FALSE(ToggleArrives(target)) << "no hook after it was removed";
    DestroyWindow(target);
}

}  // namespace
}  // namespace mivra::test
