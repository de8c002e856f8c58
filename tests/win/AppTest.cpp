// The application object around the panel: how it ends when start-up fails
// after the panel exists, and what an escaping exception turns into.

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/App.h"
#include "app/StartFailure.h"
#include "base/GdiLog.h"
#include "base/System.h"
#include "support/TestSupport.h"

namespace mivra::test {
namespace {

// Registers the class of one of the panel's children so that making a
// window of it fails, as a system out of resources would.
class FailingChildClass {
public:
    explicit FailingChildClass(const wchar_t* name) : name_(name) {
        WNDCLASSEXW wc{sizeof wc};
        wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            return message == WM_NCCREATE ? FALSE : DefWindowProcW(hwnd, message, wParam, lParam);
        };
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = name;
        RegisterClassExW(&wc);
    }
    ~FailingChildClass() { UnregisterClassW(name_, GetModuleHandleW(nullptr)); }

private:
    const wchar_t* name_;
};

// The panel exists and its group bar too when its item panel cannot be
// made: the start gives up, and everything the panel's last messages reach
// is still there while it goes.
TEST(App, AStartThatFailsAfterThePanelExistsEndsCleanly) {
    ScratchDir scratch;
    const FailingChildClass failing(L"MivraItemPanel");
    win::GdiLog log;
    {
        win::App app(GetModuleHandleW(nullptr), (scratch / L"Mivra.exe").wstring());
        EXPECT_EQ(app.Run(), 0);
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    EXPECT_FALSE(FindWindowW(L"MivraMainPanel", nullptr)) << "no panel is left behind";
    // The look (its font, its pictures) went with the panel, not into a list
    // that was already gone.
    EXPECT_GT(log.Made().size(), 0u);
    EXPECT_EQ(log.Alive(), 0u);
}

TEST(App, AnEscapingExceptionEndsWithAMessage) {
    std::wstring told;
    const auto tell = [&](const std::wstring& text) { told = text; };
    EXPECT_EQ(win::RunTellingFailures([]() -> int { throw std::runtime_error("disk full"); }, tell), 1);
    EXPECT_EQ(told, L"Mivra 遇到错误，无法继续运行：\r\ndisk full");
    told.clear();
    EXPECT_EQ(win::RunTellingFailures([] { return 7; }, tell), 7);
    EXPECT_TRUE(told.empty());
}

// Last in this program: it changes how the process finds DLLs. A DLL put
// beside the program is not loaded by its name once the program has said so
// (as Mivra.exe does first thing), so a DLL of a delay-loaded name planted
// beside a portable copy never runs.
TEST(App, DllsLoadFromTheSystemDirectoryOnly) {
    HMODULE before = LoadLibraryW(L"mivra_planted.dll");
    ASSERT_TRUE(before) << "the DLL beside this program loads by name at first";
    FreeLibrary(before);
    win::LoadDllsFromSystemOnly();
    HMODULE after = LoadLibraryW(L"mivra_planted.dll");
    EXPECT_FALSE(after);
    if (after) FreeLibrary(after);
}

}  // namespace
}  // namespace mivra::test
