#pragma once
// The panel's global hotkey, registered on its window as hotkey kHotKeyId
// from the stored text. A combination is registered without repeats: held
// down, it toggles the panel once.

#include <windows.h>

#include <string_view>

namespace mivra::win {

class HotKey {
public:
    HotKey() = default;
    ~HotKey() { Unregister(); }
    HotKey(const HotKey&) = delete;
    HotKey& operator=(const HotKey&) = delete;

    // False when the text is no combination, when it would take a typed
    // character away from every program, or when another program holds it.
    bool Register(HWND window, std::wstring_view text);
    void Unregister();
    bool Registered() const { return registered_; }

private:
    HWND window_ = nullptr;
    bool registered_ = false;
};

}  // namespace mivra::win
