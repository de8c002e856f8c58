#include "tools/Tools.h"

#include "app/FileLocations.h"
#include "menus/MainMenuModel.h"
#include "paths/PortablePath.h"

namespace mivra::win {

Tools::Tools(HINSTANCE instance, PanelHost& host, std::function<void()> beforeShutdown)
    : instance_(instance), host_(host), beforeShutdown_(std::move(beforeShutdown)) {}

Tools::~Tools() { CloseQuietly(); }

void Tools::CloseQuietly() {
    if (Window()) window_->SaveQuietly();
    window_.reset();
    schedule_.Cancel();
    if (panel_) KillTimer(panel_, timerId_);
    panel_ = nullptr;
}

void Tools::Attach(HWND panel, UINT_PTR timerId) {
    panel_ = panel;
    timerId_ = timerId;
}

std::wstring Tools::ProgramDir() const {
    return FileLocations::ForExecutable(host_.ProgramFile()).programDir;
}

bool Tools::Close() {
    if (Window() && !window_->Unload()) return false;
    window_.reset();
    return true;
}

void Tools::Open(ToolMode mode) {
    if (!Close()) return;
    const std::wstring dir = ProgramDir();
    std::wstring read, written;
    if (mode == ToolMode::Memo) written = CleanPath(dir + L"\\" + std::wstring(kMemoFileName));
    if (mode == ToolMode::HostsEditor) {
        read = host_.Shell().HostsFile();
        written = CleanPath(dir + L"\\" + std::wstring(kStagedHostsFileName));
    }
    window_ = MakeWindow<ToolWindow>(instance_, static_cast<ToolHost&>(*this), mode, std::move(read), std::move(written));
    const HICON icon = panel_ ? reinterpret_cast<HICON>(GetClassLongPtrW(panel_, GCLP_HICON)) : nullptr;
    if (!window_->Open(icon)) window_.reset();
}

bool Tools::PreviewMessage(const MSG& msg) {
    // Not the memo's: its box takes Tab and Enter as text.
    const ToolWindow* picker = Window();
    if (!picker || picker->Mode() != ToolMode::Shutdown) return false;
    if (msg.hwnd != picker->hwnd() && !IsChild(picker->hwnd(), msg.hwnd)) return false;
    // IsDialogMessage only reads the message, whatever its signature says.
    return IsDialogMessageW(picker->hwnd(), const_cast<MSG*>(&msg)) != FALSE;
}

void Tools::ShutdownCommand() {
    if (!schedule_.Armed()) return Open(ToolMode::Shutdown);
    schedule_.Cancel();
    if (panel_) KillTimer(panel_, timerId_);
    host_.ShowBalloon(kShutdownCancelledBalloon);
}

std::wstring Tools::ShutdownAt() const { return schedule_.Armed() ? ClockText(schedule_.At()) : std::wstring(); }

void Tools::ShutdownTimeChosen(ClockTime at) {
    host_.ShowBalloon(ShutdownArmedBalloon(at));
    schedule_.Arm(at, host_.Clock());
    if (panel_) SetTimer(panel_, timerId_, kShutdownCheckMs, nullptr);
    CheckShutdown();
}

void Tools::OnTimer(UINT_PTR id) {
    if (id == timerId_) CheckShutdown();
}

void Tools::CheckShutdown() {
    switch (schedule_.Check(host_.Clock())) {
    case ShutdownStep::Wait:
        if (!schedule_.Armed() && panel_) KillTimer(panel_, timerId_);
        return;
    case ShutdownStep::Warn:
        host_.ShowBalloon(kShutdownWarningBalloon);
        return;
    case ShutdownStep::ShutDown:
        // Nothing typed may be lost when the system goes.
        if (beforeShutdown_) beforeShutdown_();
        SessionEnding();
        host_.ExitSystem(ExitMode::ShutDown);
        return;
    }
}

void Tools::SessionEnding() {
    if (Window()) window_->SaveQuietly();
}

unsigned long Tools::StartHostsJob() {
    // Always elevated: only an administrator may write the system's hosts file.
    return host_.Shell().StartElevated(std::wstring(host_.ProgramFile()), std::wstring(kEditHostsArgument));
}

}  // namespace mivra::win
