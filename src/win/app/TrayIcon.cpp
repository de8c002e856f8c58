#include "app/TrayIcon.h"

#include <algorithm>
#include <cwchar>

#include "app/Messages.h"

namespace mivra::win {

void TrayIcon::Attach(HWND window, HICON icon, NotifyFunction notify) {
    notify_ = notify;
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

void TrayIcon::SetShown(bool shown) {
    shown_ = shown;
    if (!attached_) return;
    if (shown && !present_) present_ = notify_(NIM_ADD, &data_) != FALSE;
    if (!shown && present_) Remove();
}

void TrayIcon::TaskbarCreated() {
    // The new taskbar has no icon of ours, whatever we had before.
    present_ = false;
    if (shown_) SetShown(true);
}

void TrayIcon::Remove() {
    if (!attached_) return;
    notify_(NIM_DELETE, &data_);
    present_ = false;
}

void TrayIcon::ShowBalloon(std::wstring_view text) {
    if (!attached_) return;
    if (!shown_) Remove();
    const size_t n = std::min(text.size(), std::size(data_.szInfo) - 1);
    text.copy(data_.szInfo, n);
    data_.szInfo[n] = L'\0';
    if (notify_(shown_ && present_ ? NIM_MODIFY : NIM_ADD, &data_)) present_ = true;
    data_.szInfo[0] = L'\0';
}

TrayIcon::Click TrayIcon::OnCallback(LPARAM event) {
    if (!attached_) return Click::None;
    const UINT code = LOWORD(event);
    if (shown_) {
        if (code == WM_LBUTTONUP) return Click::Left;
        if (code == WM_RBUTTONUP) return Click::Right;
        return Click::None;
    }
    if (code == NIN_BALLOONHIDE || code == NIN_BALLOONTIMEOUT || code == NIN_BALLOONUSERCLICK) Remove();
    return Click::None;
}

}  // namespace mivra::win
