#pragma once
// The panel registered as an application bar: the shell then tells it
// (message 1026) when a full-screen program appears and goes away. It
// takes no screen space. Removed again when this object goes.

#include <windows.h>
#include <shellapi.h>

namespace mivra::win {

class AppBar {
public:
    AppBar() = default;
    ~AppBar() { Remove(); }
    AppBar(const AppBar&) = delete;
    AppBar& operator=(const AppBar&) = delete;

    void Register(HWND window, UINT callbackMessage);
    void Remove();

private:
    APPBARDATA data_{};
    bool registered_ = false;
};

}  // namespace mivra::win
