#pragma once
// The main panel's tools: the one tool window (memo, hosts editor, time
// picker) at a time, and the timed shutdown with its 15-second check on the
// panel's timer. The panel hands it the menu's commands, its timer ticks
// and the end of the session.

#include <windows.h>

#include <functional>
#include <string>

#include "base/Window.h"
#include "main/PanelHost.h"
#include "tools/TimedShutdown.h"
#include "tools/ToolWindow.h"

namespace mivra::win {

class Tools final : private ToolHost {
public:
    // `beforeShutdown` runs right before the timed shutdown asks the system
    // to shut down (the panel stores what it has pending).
    Tools(HINSTANCE instance, PanelHost& host, std::function<void()> beforeShutdown);
    ~Tools();
    Tools(const Tools&) = delete;
    Tools& operator=(const Tools&) = delete;

    // The panel whose icon the window takes and whose timer `timerId` checks the shutdown time.
    void Attach(HWND panel, UINT_PTR timerId);

    // Closes the open tool (saving it) and opens `mode`; when the user goes
    // back to the open one instead, that one stays and nothing opens.
    void Open(ToolMode mode);
    // Closes the open tool, saving it; false when the user chose to stay.
    bool Close();
    // The menu entry "自动关机": the time picker, or the armed shutdown cancelled.
    void ShutdownCommand();
    // "HH:MM" of the armed shutdown, empty when none: the menu's caption.
    std::wstring ShutdownAt() const;
    void OnTimer(UINT_PTR id);
    // The panel goes: the memo is written as the code page holds it (no one
    // is left to ask), the window closes and the armed shutdown ends.
    void CloseQuietly();
    // The session ends: the memo is written now, no questions (the window
    // also does this itself on the session's messages).
    void SessionEnding();

    // The message loop's look at a message first: the time picker's keys
    // (Tab, Enter, Escape) work as in a dialog. Whether it was handled.
    bool PreviewMessage(const MSG& msg);

    // The open tool window, nullptr when none.
    ToolWindow* Window() const { return window_ && window_->hwnd() ? window_.get() : nullptr; }

private:
    const AnsiCodePage& CodePage() override { return host_.CodePage(); }
    int ShowMessage(std::wstring_view text, UINT style) override { return host_.ShowMessage(text, style); }
    unsigned long StartHostsJob() override;
    void ShutdownTimeChosen(ClockTime at) override;
    void CheckShutdown();
    std::wstring ProgramDir() const;

    HINSTANCE instance_;
    PanelHost& host_;
    std::function<void()> beforeShutdown_;
    HWND panel_ = nullptr;
    UINT_PTR timerId_ = 0;
    WindowPtr<ToolWindow> window_;
    ShutdownSchedule schedule_;
};

}  // namespace mivra::win
