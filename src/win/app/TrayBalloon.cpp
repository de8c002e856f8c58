#include "app/TrayBalloon.h"

#include <algorithm>
#include <cwchar>

#include "app/Messages.h"

namespace mivra::win {

void TrayBalloon::Attach(HWND window, HICON icon) {
    data_ = {};
    data_.cbSize = sizeof data_;
    data_.hWnd = window;
    data_.uID = 0;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_STATE | NIF_INFO;
    data_.uCallbackMessage = kTrayCallbackMessage;
    data_.hIcon = icon;
    wcsncpy(data_.szTip, kAppTitle, std::size(data_.szTip) - 1);
    wcsncpy(data_.szInfoTitle, kAppTitle, std::size(data_.szInfoTitle) - 1);
    data_.dwInfoFlags = NIIF_INFO;
    attached_ = window != nullptr;
}

void TrayBalloon::ShowBalloon(std::wstring_view text) {
    if (!attached_) return;
    if (!trayIconShown_) Shell_NotifyIconW(NIM_DELETE, &data_);
    const size_t n = std::min(text.size(), std::size(data_.szInfo) - 1);
    text.copy(data_.szInfo, n);
    data_.szInfo[n] = L'\0';
    Shell_NotifyIconW(trayIconShown_ ? NIM_MODIFY : NIM_ADD, &data_);
    data_.szInfo[0] = L'\0';
}

void TrayBalloon::OnTrayCallback(LPARAM event) {
    const UINT code = LOWORD(event);
    if (trayIconShown_ || !attached_) return;
    if (code == NIN_BALLOONHIDE || code == NIN_BALLOONTIMEOUT || code == NIN_BALLOONUSERCLICK)
        Shell_NotifyIconW(NIM_DELETE, &data_);
}

}  // namespace mivra::win
