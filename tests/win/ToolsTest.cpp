// The memo, the hosts editor and the timed shutdown on a main panel in this
// process: real windows and files, a host that records messages, balloons,
// elevated starts and the system's shutdown, and a clock the tests set.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "FakePanelHost.h"
#include "MessagePump.h"
#include "base/Files.h"
#include "base/WinCodePage.h"
#include "main/MainPanel.h"
#include "main/PanelLook.h"
#include "menus/MainMenuModel.h"
#include "support/TestSupport.h"
#include "tools/TimedShutdown.h"
#include "tools/ToolText.h"

namespace mivra::test {
namespace {

using win::MainPanel;
using win::ToolWindow;

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string Ansi(std::wstring_view text) { return win::SystemCodePage().ToAnsi(text); }

bool Contains(const std::vector<std::wstring>& texts, std::wstring_view part) {
    for (const std::wstring& text : texts)
        if (text.find(part) != std::wstring::npos) return true;
    return false;
}

class ToolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.programFile = (dir / L"Mivra.exe").wstring();
        host.shell.hostsFile = (dir / L"system-hosts").wstring();
        host.storage.bytes = "[Config]\r\n";
        host.config.LoadOptions();
        host.stored = {Group(L"A")};
        panel = win::MakeWindow<MainPanel>(GetModuleHandleW(nullptr), host, look);
        ASSERT_TRUE(panel->Create(Box{100, 100, 354, 400}));
        panel->StartPing();
        Pump();
    }
    void TearDown() override {
        if (panel) panel->Close();
        Pump();
    }
    win::Tools& tools() { return panel->PanelTools(); }
    ToolWindow* Open(MainCommand command) {
        panel->RunMainCommand(command);
        return tools().Window();
    }
    // The window's close box.
    void CloseBox(ToolWindow* window) { SendMessageW(window->hwnd(), WM_CLOSE, 0, 0); }
    void Tick(LocalTime now) {
        host.clock = now;
        SendMessageW(panel->hwnd(), WM_TIMER, MainPanel::kShutdownTimer, 0);
    }
    std::filesystem::path Memo() const { return dir / L"Memo.txt"; }
    std::filesystem::path Staged() const { return dir / L"hosts"; }

    ScratchDir dir{L"mivra-tools"};
    FakePanelHost host;
    win::PanelLook look;
    win::WindowPtr<MainPanel> panel;
};

TEST_F(ToolsTest, EachCommandOpensItsFormAndOnlyOneIsOpen) {
    struct {
        MainCommand command;
        ToolMode mode;
        std::wstring_view caption;
        int width, height;
    } const cases[] = {{MainCommand::OpenMemo, ToolMode::Memo, L"Mivra 备忘录", 500, 500},
                       {MainCommand::HostsEditor, ToolMode::HostsEditor, L"Mivra hosts编辑器", 500, 500},
                       {MainCommand::Shutdown, ToolMode::Shutdown, L"Mivra 自动关机", 200, 140}};
    for (const auto& c : cases) {
        ToolWindow* window = Open(c.command);
        ASSERT_TRUE(window);
        EXPECT_EQ(window->Mode(), c.mode);
        EXPECT_EQ(TextOf(window->hwnd()), c.caption);
        RECT outer{};
        GetWindowRect(window->hwnd(), &outer);
        EXPECT_EQ(outer.right - outer.left, c.width);
        EXPECT_EQ(outer.bottom - outer.top, c.height);
        EXPECT_TRUE(IsWindowVisible(window->hwnd()));
        EXPECT_EQ(TopLevelWindowsOf(GetCurrentProcessId(), L"MivraTool").size(), 1u) << "the one before is gone";
    }
    ToolWindow* picker = tools().Window();
    EXPECT_EQ(SendMessageW(picker->HourList(), CB_GETCOUNT, 0, 0), 24);
    EXPECT_EQ(SendMessageW(picker->MinuteList(), CB_GETCOUNT, 0, 0), 12);
    EXPECT_EQ(TextOf(picker->HourList()), L"00");
    EXPECT_EQ(TextOf(picker->MinuteList()), L"00");
}

TEST_F(ToolsTest, TheMemoIsSavedOnCloseAndShownAgain) {
    ToolWindow* memo = Open(MainCommand::OpenMemo);
    ASSERT_TRUE(memo);
    EXPECT_EQ(TextOf(memo->TextBox()), L"") << "no Memo.txt yet: an empty memo";
    SetWindowTextW(memo->TextBox(), L"买牛奶\r\nline two");
    CloseBox(memo);
    EXPECT_FALSE(tools().Window());
    EXPECT_EQ(ReadBytes(Memo()), Ansi(L"买牛奶\r\nline two"));

    memo = Open(MainCommand::OpenMemo);
    ASSERT_TRUE(memo);
    EXPECT_EQ(TextOf(memo->TextBox()), L"买牛奶\r\nline two");
    // Opening another tool unloads the memo, which saves it.
    SetWindowTextW(memo->TextBox(), L"changed");
    Open(MainCommand::Shutdown);
    EXPECT_EQ(ReadBytes(Memo()), "changed");
}

TEST_F(ToolsTest, LoneLineBreaksOfTheFileShowAsLines) {
    WriteBytes(Memo(), "one\ntwo\n");
    ToolWindow* memo = Open(MainCommand::OpenMemo);
    ASSERT_TRUE(memo);
    EXPECT_EQ(SendMessageW(memo->TextBox(), EM_GETLINECOUNT, 0, 0), 3);
    CloseBox(memo);
    EXPECT_EQ(ReadBytes(Memo()), "one\ntwo\n") << "unchanged: not written";
}

// The code page cannot hold the text: the user is asked, and "go back" keeps
// the window with its text and leaves the file alone.
TEST_F(ToolsTest, UnsavableCharactersAreAskedAboutBeforeWriting) {
    WriteBytes(Memo(), "old");
    ToolWindow* memo = Open(MainCommand::OpenMemo);
    ASSERT_TRUE(memo);
    const std::wstring text = L"smile \U0001F600 twice \U0001F600";
    SetWindowTextW(memo->TextBox(), text.c_str());
    host.answers = {IDCANCEL};
    CloseBox(memo);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find(L"U+1F600"), std::wstring::npos) << "the character is named";
    EXPECT_NE(host.messages[0].find(L"Memo.txt"), std::wstring::npos);
    ASSERT_TRUE(tools().Window()) << "going back keeps the window";
    EXPECT_EQ(TextOf(memo->TextBox()), text);
    EXPECT_EQ(ReadBytes(Memo()), "old");

    // Asked again on the next close; saved as the code page holds it.
    host.answers = {IDOK};
    CloseBox(memo);
    EXPECT_EQ(host.messages.size(), 2u);
    EXPECT_FALSE(tools().Window());
    EXPECT_EQ(ReadBytes(Memo()), Ansi(text));
    EXPECT_NE(ReadBytes(Memo()).find('?'), std::string::npos);
}

// A memo that cannot be written is told; the user may go back to the text or let it go.
TEST_F(ToolsTest, AFailedWriteIsToldAndLeavesTheFile) {
    WriteBytes(Memo(), "kept");
    SetFileAttributesW(Memo().c_str(), FILE_ATTRIBUTE_READONLY);
    ToolWindow* memo = Open(MainCommand::OpenMemo);
    ASSERT_TRUE(memo);
    SetWindowTextW(memo->TextBox(), L"new text");
    host.answers = {IDCANCEL};
    CloseBox(memo);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find(L"无法保存"), std::wstring::npos);
    EXPECT_TRUE(tools().Window()) << "back to the text";
    host.answers = {IDOK};
    CloseBox(memo);
    EXPECT_FALSE(tools().Window()) << "let go";
    EXPECT_EQ(ReadBytes(Memo()), "kept");
    SetFileAttributesW(Memo().c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A file that exists but cannot be read is not an empty memo: nothing opens,
// the user is told, and the file keeps what it holds.
TEST_F(ToolsTest, AFileThatCannotBeReadIsNeverTakenForEmpty) {
    WriteBytes(Memo(), "precious");
    {
        win::UniqueHandle held(CreateFileW(Memo().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
        EXPECT_FALSE(Open(MainCommand::OpenMemo));
    }
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find(Memo().wstring()), std::wstring::npos);
    EXPECT_EQ(ReadBytes(Memo()), "precious");

    // The same for the system's hosts file that is a folder.
    std::filesystem::create_directory(host.shell.hostsFile);
    EXPECT_FALSE(Open(MainCommand::HostsEditor));
    EXPECT_EQ(host.messages.size(), 2u);
}

// Someone else's files: a large binary memo opens without a hang and is not
// rewritten when untouched; one beyond the limit is refused and left alone.
TEST_F(ToolsTest, HostileFilesNeitherHangNorGetRewritten) {
    // A quarter of a megabyte of bytes that are no text, few of them line breaks.
    std::string binary(256 * 1024, '\0');
    for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>((i * 2654435761u) >> 13);
    WriteBytes(Memo(), binary);
    ToolWindow* memo = Open(MainCommand::OpenMemo);
    ASSERT_TRUE(memo);
    CloseBox(memo);
    EXPECT_TRUE(ReadBytes(Memo()) == binary) << "untouched: the file is as it was";
    ASSERT_NE(binary.find('\0'), std::string::npos);
    EXPECT_LT(binary.find('\0'), 1000u);
    // Added to, it is written again: nothing after its first NUL is lost.
    memo = Open(MainCommand::OpenMemo);
    ASSERT_TRUE(memo);
    const LRESULT end = SendMessageW(memo->TextBox(), WM_GETTEXTLENGTH, 0, 0);
    SendMessageW(memo->TextBox(), EM_SETSEL, end, end);
    SendMessageW(memo->TextBox(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"added"));
    host.answer = IDOK;  // whatever the code page cannot hold
    CloseBox(memo);
    const std::string written = ReadBytes(Memo());
    EXPECT_GT(written.size(), binary.size() / 2);
    EXPECT_EQ(written.substr(written.size() - 5), "added");
    host.messages.clear();

    std::string huge(kMaxToolFileBytes + 1, 'x');
    WriteBytes(Memo(), huge);
    EXPECT_FALSE(Open(MainCommand::OpenMemo));
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(std::filesystem::file_size(Memo()), huge.size());
}

TEST_F(ToolsTest, TheHostsEditorHandsOverOnlyAChangeAndAlwaysElevated) {
    WriteBytes(host.shell.hostsFile, "127.0.0.1 localhost\r\n");
    struct {
        const char* what;
        std::wstring typed;  // empty: left as it was
        unsigned long elevationError;
        bool handedOver;
        std::wstring_view told;  // a part of the message, or nothing
    } const cases[] = {
        {"unchanged", L"", 0, false, L""},
        {"changed", L"127.0.0.1 localhost\r\n10.0.0.1 box\r\n", 0, true, L""},
        {"declined", L"10.0.0.2 other\r\n", ERROR_CANCELLED, true, L"未获得管理员权限"},
        {"failed", L"10.0.0.3 third\r\n", ERROR_FILE_NOT_FOUND, true, L"错误 2"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(Staged());
        host.shell.elevated.clear();
        host.messages.clear();
        host.shell.elevationError = c.elevationError;
        ToolWindow* editor = Open(MainCommand::HostsEditor);
        ASSERT_TRUE(editor) << c.what;
        EXPECT_EQ(TextOf(editor->TextBox()), L"127.0.0.1 localhost\r\n") << c.what << ": the system's file";
        if (!c.typed.empty()) SetWindowTextW(editor->TextBox(), c.typed.c_str());
        CloseBox(editor);
        EXPECT_FALSE(tools().Window()) << c.what;
        if (!c.handedOver) {
            EXPECT_TRUE(host.shell.elevated.empty()) << c.what;
            EXPECT_FALSE(std::filesystem::exists(Staged())) << c.what;
        } else {
            ASSERT_EQ(host.shell.elevated.size(), 1u) << c.what;
            EXPECT_EQ(host.shell.elevated[0], host.programFile + L" --edithosts") << c.what;
            EXPECT_EQ(ReadBytes(Staged()), Ansi(c.typed)) << c.what << ": the copy stays ready";
        }
        if (c.told.empty())
            EXPECT_TRUE(host.messages.empty()) << c.what;
        else
            EXPECT_TRUE(Contains(host.messages, c.told)) << c.what;
    }
    EXPECT_EQ(ReadBytes(host.shell.hostsFile), "127.0.0.1 localhost\r\n") << "never written by the panel";
}

TEST_F(ToolsTest, AMissingHostsFileOpensEmpty) {
    ToolWindow* editor = Open(MainCommand::HostsEditor);
    ASSERT_TRUE(editor);
    EXPECT_EQ(TextOf(editor->TextBox()), L"");
    EXPECT_TRUE(host.messages.empty());
}

// Picks a time in the picker and presses "确定".
void Arm(ToolWindow* picker, int hourIndex, int minuteIndex) {
    SendMessageW(picker->HourList(), CB_SETCURSEL, hourIndex, 0);
    SendMessageW(picker->MinuteList(), CB_SETCURSEL, minuteIndex, 0);
    SendMessageW(picker->hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(picker->OkButton()), BN_CLICKED),
                 reinterpret_cast<LPARAM>(picker->OkButton()));
}

// Through the program's message loop the picker takes keys as a dialog does.
TEST_F(ToolsTest, ThePickerTakesTabEnterAndEscape) {
    const auto deliver = [&](HWND to, WPARAM key) {
        PostMessageW(to, WM_KEYDOWN, key, 0);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!panel->PreviewMessage(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
    };
    ToolWindow* picker = Open(MainCommand::Shutdown);
    ASSERT_TRUE(picker);
    deliver(GetFocus(), VK_ESCAPE);
    EXPECT_FALSE(tools().Window()) << "Escape closes it";
    EXPECT_EQ(tools().ShutdownAt(), L"");

    picker = Open(MainCommand::Shutdown);
    ASSERT_TRUE(picker);
    SendMessageW(picker->HourList(), CB_SETCURSEL, 7, 0);
    SetFocus(picker->HourList());
    deliver(picker->HourList(), VK_TAB);
    EXPECT_EQ(GetFocus(), picker->MinuteList()) << "Tab goes to the minutes";
    deliver(picker->MinuteList(), VK_RETURN);
    EXPECT_FALSE(tools().Window()) << "Enter arms";
    EXPECT_EQ(tools().ShutdownAt(), L"07:00");
}

TEST_F(ToolsTest, MidnightArmedAt235950WarnsAtOnceAndActsInTheFirstSecondsSavingTheMemoFirst) {
    host.clock = {2026, 12, 31, 23, 59, 50};
    Arm(Open(MainCommand::Shutdown), 0, 0);
    EXPECT_FALSE(tools().Window()) << "the picker closes";
    EXPECT_EQ(tools().ShutdownAt(), L"00:00") << "the menu entry's caption";
    const auto& balloons = host.notifier.balloons;
    ASSERT_EQ(balloons.size(), 2u);
    EXPECT_EQ(balloons[0], L"系统将在下一个 00:00 自动关机。");
    EXPECT_EQ(balloons[1], kShutdownWarningBalloon) << "inside the minute before: warned at once";

    ToolWindow* memo = Open(MainCommand::OpenMemo);
    ASSERT_TRUE(memo);
    SetWindowTextW(memo->TextBox(), L"typed before midnight");
    std::string memoAtExit;
    host.onExit = [&] { memoAtExit = ReadBytes(Memo()); };
    Tick({2026, 12, 31, 23, 59, 59});
    EXPECT_TRUE(host.exits.empty());
    Tick({2027, 1, 1, 0, 0, 5});
    ASSERT_EQ(host.exits.size(), 1u);
    EXPECT_EQ(host.exits[0], ExitMode::ShutDown);
    EXPECT_EQ(memoAtExit, "typed before midnight") << "saved before the system is asked";
    EXPECT_TRUE(tools().Window()) << "the memo stays open";
    EXPECT_EQ(balloons.size(), 2u);
}

TEST_F(ToolsTest, WarnsAMinuteBeforeAndCanStillBeCancelledThen) {
    host.clock = {2026, 12, 10, 18, 0, 0};
    Arm(Open(MainCommand::Shutdown), 18, 30 / 5);
    EXPECT_EQ(tools().ShutdownAt(), L"18:30");
    Tick({2026, 12, 10, 18, 28, 55});
    EXPECT_EQ(host.notifier.balloons.size(), 1u) << "no warning yet";
    Tick({2026, 12, 10, 18, 29, 10});
    ASSERT_EQ(host.notifier.balloons.size(), 2u);
    EXPECT_EQ(host.notifier.balloons[1], kShutdownWarningBalloon);

    panel->RunMainCommand(MainCommand::Shutdown);
    EXPECT_EQ(host.notifier.balloons.back(), L"已取消自动关机计划。");
    EXPECT_EQ(tools().ShutdownAt(), L"");
    EXPECT_FALSE(tools().Window()) << "cancelling opens nothing";
    Tick({2026, 12, 10, 18, 30, 5});
    EXPECT_TRUE(host.exits.empty());
}

TEST_F(ToolsTest, ATimeJustPassedWaitsForTheNextDay) {
    host.clock = {2026, 12, 10, 18, 31, 0};
    Arm(Open(MainCommand::Shutdown), 18, 30 / 5);
    Tick({2026, 12, 10, 18, 31, 15});
    Tick({2026, 12, 10, 18, 35, 0});
    EXPECT_TRUE(host.exits.empty());
    Tick({2026, 12, 11, 18, 29, 5});
    Tick({2026, 12, 11, 18, 30, 5});
    EXPECT_EQ(host.exits.size(), 1u);
}

TEST_F(ToolsTest, TheMemoIsSavedWhenTheSessionEnds) {
    ToolWindow* memo = Open(MainCommand::OpenMemo);
    ASSERT_TRUE(memo);
    SetWindowTextW(memo->TextBox(), L"before log-off");
    EXPECT_TRUE(SendMessageW(memo->hwnd(), WM_QUERYENDSESSION, 0, 0));
    EXPECT_EQ(ReadBytes(Memo()), "before log-off");
    SetWindowTextW(memo->TextBox(), L"at log-off");
    SendMessageW(memo->hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(ReadBytes(Memo()), "at log-off");
    EXPECT_TRUE(host.messages.empty()) << "no questions while the session ends";
}

TEST_F(ToolsTest, GoingBackToTheMemoKeepsTheProgramRunning) {
    ToolWindow* memo = Open(MainCommand::OpenMemo);
    ASSERT_TRUE(memo);
    SetWindowTextW(memo->TextBox(), L"\U0001F600");
    host.answers = {IDCANCEL};
    panel->RunMainCommand(MainCommand::Exit);
    EXPECT_EQ(host.shutDowns, 0);
    EXPECT_TRUE(tools().Window());
    host.answers = {IDOK};
    panel->RunMainCommand(MainCommand::Exit);
    EXPECT_EQ(host.shutDowns, 1);
}

}  // namespace
}  // namespace mivra::test
