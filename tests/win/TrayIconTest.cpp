// The tray icon as the shell sees it: what is added, modified and deleted,
// and what the callbacks mean.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/Messages.h"
#include "app/TrayIcon.h"

namespace mivra::test {
namespace {

struct Call {
    DWORD message;
    HWND window;
    UINT id;
    UINT flags;
    std::wstring tip, info;
};
std::vector<Call> calls;

BOOL Record(DWORD message, PNOTIFYICONDATAW data) {
    calls.push_back({message, data->hWnd, data->uID, data->uFlags, data->szTip, data->szInfo});
    return TRUE;
}

std::vector<DWORD> Messages() {
    std::vector<DWORD> messages;
    for (const Call& call : calls) messages.push_back(call.message);
    return messages;
}

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        icon.Attach(window, LoadIconW(nullptr, IDI_APPLICATION), &Record);
    }
    HWND window = reinterpret_cast<HWND>(0x1234);
    win::TrayIcon icon;
};

TEST_F(TrayIconTest, AShownIconIsTheWindowsOwnAndComesBackWithTheTaskbar) {
    icon.SetShown(true);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(calls[0].window, window);
    EXPECT_EQ(calls[0].id, 0u);
    EXPECT_EQ(calls[0].flags & NIF_GUID, 0u) << "no GUID: a moved copy never clashes";
    EXPECT_EQ(calls[0].tip, win::kAppTitle);
    EXPECT_EQ(icon.OnCallback(WM_LBUTTONUP), win::TrayIcon::Click::Left);
    EXPECT_EQ(icon.OnCallback(WM_RBUTTONUP), win::TrayIcon::Click::Right);
    EXPECT_EQ(icon.OnCallback(WM_MOUSEMOVE), win::TrayIcon::Click::None);

    icon.TaskbarCreated();
    icon.ShowBalloon(L"note");
    icon.Remove();
    EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_ADD, NIM_ADD, NIM_MODIFY, NIM_DELETE}));
    EXPECT_EQ(calls[2].info, L"note");
}

TEST_F(TrayIconTest, WithoutTheOptionAnIconComesOnlyForABalloon) {
    icon.SetShown(false);
    icon.TaskbarCreated();
    EXPECT_TRUE(calls.empty()) << "nothing to add again";
    icon.ShowBalloon(L"note");
    EXPECT_EQ(icon.OnCallback(WM_LBUTTONUP), win::TrayIcon::Click::None) << "the balloon's icon is not the tray icon";
    icon.OnCallback(NIN_BALLOONTIMEOUT);
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(calls[calls.size() - 2].info, L"note");
    EXPECT_EQ(calls.back().message, static_cast<DWORD>(NIM_DELETE)) << "removed when the balloon closes";
}

}  // namespace
}  // namespace mivra::test
