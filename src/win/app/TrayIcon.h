#pragma once
// The icon in the taskbar's notification area, identified by the panel's
// window and id 0 (no GUID: a portable copy moved elsewhere never clashes
// with another). Shown for good while the TrayIcon option is on; otherwise
// added only for a balloon and removed again when the balloon closes.
// Balloons tell the user about background failures.

#include <windows.h>
#include <shellapi.h>

#include <string_view>

#include "config/Configuration.h"

namespace mivra::win {

class TrayIcon final : public Notifier {
public:
    // What talks to the shell: Shell_NotifyIconW, or a recorder in tests.
    using NotifyFunction = BOOL (*)(DWORD message, PNOTIFYICONDATAW data);

    // `window` receives the tray callbacks (message 1027).
    void Attach(HWND window, HICON icon, NotifyFunction notify = &Shell_NotifyIconW);
    // Shows the icon for good, or removes it (a balloon still adds it for a moment).
    void SetShown(bool shown);
    bool Shown() const { return shown_; }
    // The taskbar was created again (Explorer restarted): a shown icon is added again.
    void TaskbarCreated();
    // Removes the icon, whatever it was there for (shut-down).
    void Remove();

    void ShowBalloon(std::wstring_view text) override;

    enum class Click { None, Left, Right };
    // From the window's tray callback: a click on the shown icon; removes an
    // icon that was only there for a balloon once that balloon has closed.
    Click OnCallback(LPARAM event);

private:
    NOTIFYICONDATAW data_{};
    NotifyFunction notify_ = nullptr;
    bool attached_ = false;
    bool shown_ = false;
    bool present_ = false;  // the shell has the icon now
};

}  // namespace mivra::win
