// Registering the panel's hotkey from its stored text.

#include <gtest/gtest.h>
#include <windows.h>

#include "app/HotKey.h"

namespace mivra::test {
namespace {

HWND MakeWindow() {
    return CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

TEST(HotKey, OnlyAFreeCombinationThatTypesNothingIsRegistered) {
    HWND mine = MakeWindow(), other = MakeWindow();
    ASSERT_TRUE(mine && other);
    win::HotKey hotKey;
    EXPECT_TRUE(hotKey.Register(mine, L"Ctrl+Alt+F9"));
    EXPECT_TRUE(hotKey.Registered());

    win::HotKey another;
    EXPECT_FALSE(another.Register(other, L"Ctrl+Alt+F9")) << "held by another window";
    EXPECT_FALSE(another.Register(other, L"Shift+A")) << "would take a typed character";
    EXPECT_FALSE(another.Register(other, L"Alt+F1x")) << "no combination";

    hotKey.Unregister();
    EXPECT_TRUE(another.Register(other, L"Ctrl+Alt+F9")) << "free again";
    DestroyWindow(mine);
    DestroyWindow(other);
}

}  // namespace
}  // namespace mivra::test
