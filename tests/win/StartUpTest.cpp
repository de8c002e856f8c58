// The normal start: the refused directories, the hand-over to a running
// instance, and the window a plain start shows.

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <functional>
#include <thread>

#include "app/FileLocations.h"
#include "app/HotKeyText.h"
#include "app/Messages.h"
#include "app/SingleInstance.h"
#include "base/System.h"
#include "base/WinCodePage.h"
#include "text/TextCoder.h"
#include "support/TestSupport.h"

namespace mivra::test {
namespace {

using namespace std::chrono_literals;

std::wstring ReadConfig(const std::filesystem::path& cfg, const wchar_t* key) {
    wchar_t value[256] = {};
    GetPrivateProfileStringW(L"Config", key, L"", value, 256, cfg.c_str());
    return value;
}

// A copy of Mivra.exe in a folder of its own, so that its configuration and
// its running-instance mark are its own.
class Copy {
public:
    explicit Copy(const std::filesystem::path& dir) : exe_(dir / L"Mivra.exe") {
        std::filesystem::create_directories(dir);
        std::filesystem::copy_file(MivraExe(), exe_);
    }
    const std::filesystem::path& Exe() const { return exe_; }
    Process Start() const { return StartProcess(QuoteArgument(exe_), exe_.parent_path()); }
    std::filesystem::path Config() const { return exe_.parent_path() / L"Mivra.cfg"; }

private:
    std::filesystem::path exe_;
};

// The panel of `p` once `ready` holds for it (by default: it is shown); nullptr after 20 s.
HWND WaitForPanel(const Process& p, const std::function<bool(HWND)>& ready = [](HWND panel) {
    return IsWindowVisible(panel) != FALSE;
}) {
    HWND panel = nullptr;
    const bool found = WaitUntil(
        [&] {
            auto panels = TopLevelWindowsOf(p.id, win::kMainPanelClass);
            panel = panels.empty() ? nullptr : panels.front();
            return panel && ready(panel);
        },
        20s);
    return found ? panel : nullptr;
}

TEST(StartUp, PlainStartShowsOneBorderlessPanelAndEndsWhenItCloses) {
    ScratchDir scratch;
    Copy mivra(scratch.path());
    Process p = mivra.Start();
    HWND panel = WaitForPanel(p);
    ASSERT_TRUE(panel);
    EXPECT_EQ(TopLevelWindowsOf(p.id, win::kMainPanelClass).size(), 1u);

    wchar_t title[64] = {};
    GetWindowTextW(panel, title, 64);
    EXPECT_STREQ(title, L"Mivra");
    const LONG style = GetWindowLongW(panel, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME), 0);

    EXPECT_EQ(ReadConfig(mivra.Config(), L"Version"), L"1.3.6");
    EXPECT_EQ(ReadConfig(mivra.Config(), L"Handle"), std::to_wstring(reinterpret_cast<LONG_PTR>(panel)));
    SYSTEMTIME today{};
    GetLocalTime(&today);
    wchar_t backup[64];
    swprintf(backup, 64, L"Mivra_Backup_%04d-%02d-%02d.rcb", today.wYear, today.wMonth, today.wDay);
    EXPECT_TRUE(std::filesystem::exists(scratch / L"Backup" / backup)) << "the first start of the day makes a backup";

    PostMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(p, 20s), 0u);
    EXPECT_EQ(ReadConfig(mivra.Config(), L"Handle"), L"") << "Handle is removed at exit";
}

// Title and z-order are options: the start applies what the file holds, not
// the defaults the panel was created with.
// The application's messages that reach the panel's window: the hotkey, the
// tray icon's clicks, the mouse gestures' toggle and the application bar's
// full-screen notices.
TEST(StartUp, TheApplicationsMessagesSummonAndDismissThePanel) {
    ScratchDir scratch;
    Copy mivra(scratch.path());
    WritePrivateProfileStringW(L"Config", L"StartToTray", L"1", mivra.Config().c_str());
    WritePrivateProfileStringW(L"Config", L"MiddleButton2", L"1", mivra.Config().c_str());
    Process p = mivra.Start();
    HWND panel = WaitForPanel(p, [](HWND) { return true; });
    ASSERT_TRUE(panel);
    const auto shown = [&] { return IsWindowVisible(panel) != FALSE; };
    ASSERT_FALSE(shown()) << "started to the tray";

    PostMessageW(panel, WM_HOTKEY, kHotKeyId, 0);
    EXPECT_TRUE(WaitUntil(shown, 10s)) << "the hotkey shows a hidden panel";
    PostMessageW(panel, WM_HOTKEY, kHotKeyId, 0);
    EXPECT_TRUE(WaitUntil([&] { return !shown(); }, 10s)) << "and hides a shown one";
    PostMessageW(panel, WM_HOTKEY, 2, 0);
    PostMessageW(panel, win::kTrayCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_TRUE(WaitUntil(shown, 10s)) << "a left click on the tray icon shows it";
    PostMessageW(panel, win::kMouseGestureMessage, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !shown(); }, 10s)) << "a gesture toggles as the hotkey does";

    // Full-screen programs, as the shell reports them to the application bar.
    const auto fullScreen = [&](bool appeared) {
        SendMessageW(panel, win::kAppBarCallbackMessage, ABN_FULLSCREENAPP, appeared ? 1 : 0);
    };
    fullScreen(true);
    fullScreen(false);
    EXPECT_FALSE(shown()) << "a panel the user hid stays hidden";
    PostMessageW(panel, WM_HOTKEY, kHotKeyId, 0);
    ASSERT_TRUE(WaitUntil(shown, 10s));
    fullScreen(true);
    EXPECT_FALSE(shown()) << "hidden for a full-screen program";
    fullScreen(false);
    EXPECT_TRUE(shown()) << "and back when it ends";

    PostMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(p, 20s), 0u);
}

// Whether the shell holds an icon of `panel` (the program's icon has id 0):
// only an icon it has can be modified.
bool TrayHoldsIconOf(HWND panel) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = panel;
    data.uFlags = NIF_TIP;
    wcscpy(data.szTip, L"Mivra");
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

// When Explorer restarts its new taskbar knows no icons; it broadcasts
// TaskbarCreated and every program adds its icon again.
TEST(StartUp, TheTrayIconIsAddedAgainForANewTaskbarAndRemovedAtExit) {
    ScratchDir scratch;
    Copy mivra(scratch.path());
    Process p = mivra.Start();
    HWND panel = WaitForPanel(p);
    ASSERT_TRUE(panel);
    ASSERT_TRUE(WaitUntil([&] { return TrayHoldsIconOf(panel); }, 10s)) << "the icon is added at start";

    NOTIFYICONDATAW lost{};
    lost.cbSize = sizeof lost;
    lost.hWnd = panel;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &lost)) << "the taskbar loses it";
    ASSERT_FALSE(TrayHoldsIconOf(panel));
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return TrayHoldsIconOf(panel); }, 10s)) << "added again for the new taskbar";

    PostMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(p, 20s), 0u);
    EXPECT_FALSE(TrayHoldsIconOf(panel)) << "removed at exit";
}

// A combination another program holds at the start is off for that run, but
// the stored choice stays for the next start.
TEST(StartUp, AHotKeyHeldElsewhereIsKeptForTheNextStart) {
    ScratchDir scratch;
    Copy mivra(scratch.path());
    const std::wstring stored = EncodeText(win::SystemCodePage(), L"Ctrl+Alt+F8");
    WritePrivateProfileStringW(L"Config", L"EnableHotKey", L"1", mivra.Config().c_str());
    WritePrivateProfileStringW(L"Config", L"HotKey", stored.c_str(), mivra.Config().c_str());
    {
        // A start while the combination is free takes it.
        Process p = mivra.Start();
        HWND panel = WaitForPanel(p);
        ASSERT_TRUE(panel);
        // Registered once the first group is on the screen.
        EXPECT_TRUE(WaitUntil(
            [] {
                const bool free = RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, VK_F8);
                if (free) UnregisterHotKey(nullptr, 7);
                return !free;
            },
            10s))
            << "Mivra holds it";
        PostMessageW(panel, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForExit(p, 20s), 0u);
    }
    ASSERT_TRUE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, VK_F8)) << "free after Mivra ended; held by this test now";
    Process p = mivra.Start();
    HWND panel = WaitForPanel(p);
    ASSERT_TRUE(panel);
    PostMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(p, 20s), 0u);
    UnregisterHotKey(nullptr, 7);
    EXPECT_EQ(ReadConfig(mivra.Config(), L"EnableHotKey"), L"1");
    EXPECT_EQ(ReadConfig(mivra.Config(), L"HotKey"), stored);
}

TEST(StartUp, StoredTitleAndTopMostAreAppliedAtStart) {
    struct Case {
        const wchar_t* title;  // stored as EncodeText; nullptr: not stored
        const wchar_t* topMost;
        const wchar_t* expectedTitle;
        bool expectedTopMost;
    };
    for (const Case& c : {Case{L"我的面板", L"0", L"我的面板", false}, Case{nullptr, nullptr, L"Mivra", true}}) {
        ScratchDir scratch;
        Copy mivra(scratch.path());
        if (c.title)
            WritePrivateProfileStringW(L"Config", L"Title", EncodeText(win::SystemCodePage(), c.title).c_str(),
                                       mivra.Config().c_str());
        if (c.topMost) WritePrivateProfileStringW(L"Config", L"TopMost", c.topMost, mivra.Config().c_str());
        Process p = mivra.Start();
        HWND panel = WaitForPanel(p);
        ASSERT_TRUE(panel);
        wchar_t title[64] = {};
        GetWindowTextW(panel, title, 64);
        EXPECT_STREQ(title, c.expectedTitle);
        EXPECT_EQ((GetWindowLongW(panel, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, c.expectedTopMost) << c.expectedTitle;
        PostMessageW(panel, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForExit(p, 20s), 0u);
    }
}

// A configuration file that another program holds open without sharing
// while the panel starts is read as nothing, but never taken for an empty
// one: no forced write, no backup and no skin deletion wipe what it holds,
// and what is written at exit, once it can be read, goes into its content.
TEST(StartUp, AConfigurationHeldByAnotherProgramIsNotWrittenOver) {
    ScratchDir scratch;
    Copy mivra(scratch.path());
    const std::wstring record =
        EncodeText(win::SystemCodePage(), L"Title:\"记事本\",Path:\"C:\\windows\\notepad.exe\",IcoPath:\"\",Parm:\"\",Count:\"3\",");
    const std::string groups = "[Data]\r\n" + win::SystemCodePage().ToAnsi(L"工具=" + record + L",\r\n");
    const std::string original = "[Config]\r\nTopMost=0\r\nC7S31=1\r\n" + groups;
    WriteBytes(mivra.Config(), original);
    WriteBytes(scratch / L"Mivra.skin", "a skin whose check value the configuration holds");

    Process p;
    HWND panel = nullptr;
    {
        win::UniqueFile held(
            CreateFileW(mivra.Config().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        p = mivra.Start();
        panel = WaitForPanel(p);
        ASSERT_TRUE(panel);
        // Past the first tick: the data has been looked for.
        ASSERT_TRUE(WaitUntil(
            [&] {
                HWND items = FindWindowExW(panel, nullptr, L"MivraItemPanel", nullptr);
                return items && IsWindowVisible(items);
            },
            20s));
    }
    EXPECT_EQ(ReadBytes(mivra.Config()), original);
    EXPECT_TRUE(std::filesystem::exists(scratch / L"Mivra.skin")) << "a skin is not deleted for want of its check value";
    EXPECT_TRUE(!std::filesystem::exists(scratch / L"Backup") || std::filesystem::is_empty(scratch / L"Backup"))
        << "no backup of a file that could not be read";
    EXPECT_TRUE(TopLevelWindowsOf(p.id, L"#32770").empty()) << "no error box: the data is not damaged";

    PostMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(p, 20s), 0u);
    const std::string after = ReadBytes(mivra.Config());
    EXPECT_NE(after.find(groups), std::string::npos) << after;
    EXPECT_NE(after.find("TopMost=0"), std::string::npos) << after;
}

TEST(StartUp, SecondStartShowsTheRunningPanelAndEnds) {
    ScratchDir scratch;
    Copy mivra(scratch.path());
    Process first = mivra.Start();
    HWND panel = WaitForPanel(first);
    ASSERT_TRUE(panel);
    ShowWindow(panel, SW_HIDE);

    Process second = mivra.Start();
    EXPECT_EQ(WaitForExit(second, 20s), 0u);
    EXPECT_TRUE(IsWindowVisible(panel)) << "the running instance shows its panel";
    EXPECT_TRUE(TopLevelWindowsOf(second.id, win::kMainPanelClass).empty());

    // A copy in another folder is another program: it starts beside it.
    Copy elsewhere(scratch / L"other");
    Process other = elsewhere.Start();
    EXPECT_TRUE(WaitForPanel(other));
    TerminateProcess(other.handle.get(), 0);

    PostMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(first, 20s), 0u);
}

TEST(StartUp, StartToTrayKeepsThePanelHiddenUntilASecondStart) {
    ScratchDir scratch;
    Copy mivra(scratch.path());
    WritePrivateProfileStringW(L"Config", L"StartToTray", L"1", mivra.Config().c_str());
    Process p = mivra.Start();
    HWND panel = WaitForPanel(p, [&](HWND found) {
        return ReadConfig(mivra.Config(), L"Handle") == std::to_wstring(reinterpret_cast<LONG_PTR>(found));
    });
    ASSERT_TRUE(panel);
    EXPECT_FALSE(IsWindowVisible(panel));

    Process second = mivra.Start();
    EXPECT_EQ(WaitForExit(second, 20s), 0u);
    EXPECT_TRUE(IsWindowVisible(panel)) << "a second start shows the panel";
    PostMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(p, 20s), 0u);
}

TEST(StartUp, StaleHandleDoesNotStopTheStart) {
    ScratchDir scratch;
    Copy mivra(scratch.path());
    // Left behind by a crash: no instance runs, the handle names nothing.
    WritePrivateProfileStringW(L"Config", L"Handle", L"1234567", mivra.Config().c_str());
    Process p = mivra.Start();
    HWND panel = WaitForPanel(p);
    ASSERT_TRUE(panel);

    // An instance runs, but the stored handle names another program's
    // window: the second start must not take that for an answer.
    HWND desktop = GetDesktopWindow();
    WritePrivateProfileStringW(L"Config", L"Handle", std::to_wstring(reinterpret_cast<LONG_PTR>(desktop)).c_str(),
                               mivra.Config().c_str());
    Process second = mivra.Start();
    EXPECT_TRUE(WaitForPanel(second)) << "with a stale handle a second instance starts";

    PostMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(p, 20s), 0u);
    TerminateProcess(second.handle.get(), 0);
}

// A window of some class on a thread of its own that answers 1 to the
// hand-over request, or whose thread never handles a message at all.
class ForeignWindow {
public:
    ForeignWindow(const wchar_t* className, bool hung) : stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        win::UniqueHandle created(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        thread_ = std::thread([this, className, hung, ready = created.get()] {
            WNDCLASSEXW wc{sizeof wc};
            wc.lpfnWndProc = Procedure;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = className;
            RegisterClassExW(&wc);
            hwnd_ = CreateWindowExW(0, className, L"foreign", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    wc.hInstance, nullptr);
            SetEvent(ready);
            HANDLE stop = stop_.get();
            if (hung) {
                WaitForSingleObject(stop, INFINITE);
            } else {
                while (MsgWaitForMultipleObjects(1, &stop, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
                    MSG msg;
                    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
                }
            }
            DestroyWindow(hwnd_);
        });
        WaitForSingleObject(created.get(), 10000);
    }
    ~ForeignWindow() {
        SetEvent(stop_.get());
        thread_.join();
    }
    HWND hwnd() const { return hwnd_; }
    static inline std::atomic<int> requests{0};

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != win::kShowPanelMessage) return DefWindowProcW(hwnd, message, wParam, lParam);
        ++requests;
        return 1;
    }

    win::UniqueHandle stop_;
    HWND hwnd_ = nullptr;
    std::thread thread_;
};

// The start was not handed over: it shows a panel of its own, which then closes.
void ExpectAPanelOfItsOwn(const Process& p) {
    HWND panel = WaitForPanel(p);
    EXPECT_TRUE(panel) << "the start goes on";
    if (panel) PostMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(p, 20s), 0u);
}

// The copy counts as running (its mark exists in this process) and its
// stored `Handle` names `window`.
void PretendRunning(const Copy& mivra, HWND window) {
    WritePrivateProfileStringW(L"Config", L"Handle", std::to_wstring(reinterpret_cast<LONG_PTR>(window)).c_str(),
                               mivra.Config().c_str());
}

TEST(StartUp, OnlyAPanelWindowIsHandedTheStart) {
    ScratchDir scratch;
    Copy mivra(scratch.path());
    const win::SingleInstance mark(mivra.Exe().wstring());
    {
        // The premise: a window of the panel's class that answers takes the start.
        ForeignWindow panelClass(win::kMainPanelClass, false);
        PretendRunning(mivra, panelClass.hwnd());
        ForeignWindow::requests = 0;
        Process p = mivra.Start();
        EXPECT_EQ(WaitForExit(p, 20s), 0u);
        EXPECT_EQ(ForeignWindow::requests, 1);
    }
    // Another program's window that happens to answer 1 is not asked.
    ForeignWindow impostor(L"MivraTestImpostor", false);
    PretendRunning(mivra, impostor.hwnd());
    ForeignWindow::requests = 0;
    ExpectAPanelOfItsOwn(mivra.Start());
    EXPECT_EQ(ForeignWindow::requests, 0);
}

TEST(StartUp, AHungPanelDoesNotHoldTheStartBack) {
    ScratchDir scratch;
    Copy mivra(scratch.path());
    const win::SingleInstance mark(mivra.Exe().wstring());
    ForeignWindow hung(win::kMainPanelClass, true);
    PretendRunning(mivra, hung.hwnd());
    SetEnvironmentVariableW(L"MIVRA_HANDOVER_TIMEOUT_MS", L"1000");
    Process p = mivra.Start();
    SetEnvironmentVariableW(L"MIVRA_HANDOVER_TIMEOUT_MS", nullptr);
    ExpectAPanelOfItsOwn(p);
}

TEST(StartUp, RefusesToRunFromProgramFiles) {
    const std::filesystem::path programFiles = PathFromEnvironment(L"ProgramFiles");
    ASSERT_FALSE(programFiles.empty());
    ScratchDir unused;  // a unique name for the folder under Program Files
    const std::filesystem::path dir = programFiles / (L"Mivra Test " + unused.path().filename().wstring());
    Copy mivra(dir);

    Process p = mivra.Start();
    HWND box = nullptr;
    // The box exists a moment before its texts do: wait for them.
    ASSERT_TRUE(WaitUntil(
        [&] {
            auto dialogs = TopLevelWindowsOf(p.id, L"#32770");
            box = dialogs.empty() ? nullptr : dialogs.front();
            return box != nullptr && !StaticTextsOf(box).empty();
        },
        20s));
    const auto env = win::SystemEnvironment();
    EXPECT_NE(StaticTextsOf(box).find(RefusalMessage(env).substr(0, 20)), std::wstring::npos) << StaticTextsOf(box);
    EXPECT_NE(StaticTextsOf(box).find(L"下面将退出 Mivra。"), std::wstring::npos);
    EXPECT_TRUE(TopLevelWindowsOf(p.id, win::kMainPanelClass).empty()) << "no panel before the refusal";

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(WaitForExit(p, 20s), 0u);
    EXPECT_FALSE(std::filesystem::exists(mivra.Config())) << "a refused start writes nothing";
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

}  // namespace
}  // namespace mivra::test
