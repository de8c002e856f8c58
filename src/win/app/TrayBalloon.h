#pragma once
// ShowBalloon: tells the user something in a balloon of the tray icon. While
// the tray icon itself is not shown, an icon is added for the balloon and
// removed again when the balloon closes.

#include <windows.h>
#include <shellapi.h>

#include <string_view>

#include "config/Configuration.h"

namespace mivra::win {

class TrayBalloon final : public Notifier {
public:
    // `window` receives the tray callbacks (message 1027).
    void Attach(HWND window, HICON icon);
    void SetTrayIconShown(bool shown) { trayIconShown_ = shown; }

    void ShowBalloon(std::wstring_view text) override;

    // From the window's tray callback: removes an icon that was only there
    // for a balloon once that balloon has closed.
    void OnTrayCallback(LPARAM event);

private:
    NOTIFYICONDATAW data_{};
    bool attached_ = false;
    bool trayIconShown_ = false;
};

}  // namespace mivra::win
