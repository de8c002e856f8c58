#pragma once
// The hotkey that shows or hides the panel, in the text form the settings box
// shows and the configuration stores ("Alt+1"): composed from a key press in
// the box, and read back into what the system registers.

#include <optional>
#include <string>
#include <string_view>

namespace mivra {

inline constexpr int kHotKeyId = 1;  // on the main panel's window
inline constexpr std::wstring_view kDefaultHotKeyText = L"Alt+1";
// Shown when a combination is refused, by the system or by this program.
inline constexpr std::wstring_view kHotKeyFailedBalloon = L"热键注册失败。";

struct HotKeyCombination {
    unsigned modifiers = 0;  // the system's registration values: Alt 1, Ctrl 2, Shift 4
    unsigned key = 0;        // virtual-key code

    bool operator==(const HotKeyCombination&) const = default;
};

// The box's text for a key-down: the prefix for the shift mask (Shift 1,
// Ctrl 2, Alt 4; other bits are ignored), then the key's name, which is empty
// for a key outside the table (a modifier key alone among them).
std::wstring ComposeHotKeyText(int shiftMask, int keyCode);

// Whether `EnableHotKey` may be checked for the box's text: it needs a
// modifier and a key.
bool CanEnableHotKey(std::wstring_view text);

// Shift alone with a key that types a character: registered, it would take
// that character away from every program.
bool TakesTypedCharacter(const HotKeyCombination& combination);

// The combination to register for a stored text; nullopt when the text is
// not one that ComposeHotKeyText makes with a modifier and a key, or when it
// takes a typed character. The caller then registers nothing and shows
// kHotKeyFailedBalloon.
std::optional<HotKeyCombination> ParseHotKeyText(std::wstring_view text);

}  // namespace mivra
