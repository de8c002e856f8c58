#include "app/HotKey.h"

#include "app/HotKeyText.h"

namespace mivra::win {

bool HotKey::Register(HWND window, std::wstring_view text) {
    Unregister();
    const std::optional<HotKeyCombination> combination = ParseHotKeyText(text);
    if (!combination) return false;
    registered_ = RegisterHotKey(window, kHotKeyId, combination->modifiers | MOD_NOREPEAT, combination->key) != FALSE;
    if (registered_) window_ = window;
    return registered_;
}

void HotKey::Unregister() {
    if (!registered_) return;
    UnregisterHotKey(window_, kHotKeyId);
    registered_ = false;
}

}  // namespace mivra::win
