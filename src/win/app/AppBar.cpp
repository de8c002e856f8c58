#include "app/AppBar.h"

namespace mivra::win {

void AppBar::Register(HWND window, UINT callbackMessage) {
    Remove();
    data_ = {};
    data_.cbSize = sizeof data_;
    data_.hWnd = window;
    data_.uCallbackMessage = callbackMessage;
    registered_ = SHAppBarMessage(ABM_NEW, &data_) != 0;
}

void AppBar::Remove() {
    if (!registered_) return;
    SHAppBarMessage(ABM_REMOVE, &data_);
    registered_ = false;
}

}  // namespace mivra::win
