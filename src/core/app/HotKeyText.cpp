#include "app/HotKeyText.h"

#include <array>

namespace mivra {
namespace {

constexpr unsigned kModAlt = 1, kModCtrl = 2, kModShift = 4;
constexpr int kSpace = 32, kBackQuote = 192, kF1 = 112, kF12 = 123;

// Indexed by the box's shift mask: Shift 1, Ctrl 2, Alt 4.
constexpr std::array<std::wstring_view, 8> kPrefixes = {
    L"", L"Shift+", L"Ctrl+", L"Shift+Ctrl+", L"Alt+", L"Shift+Alt+", L"Ctrl+Alt+", L"Shift+Ctrl+Alt+",
};

unsigned ModifiersOf(int shiftMask) {
    return (shiftMask & 1 ? kModShift : 0) | (shiftMask & 2 ? kModCtrl : 0) | (shiftMask & 4 ? kModAlt : 0);
}

// 58 to 64 lie between the digits and the letters but are no keys: their
// characters (":" to "@") would name keys that cannot be pressed.
std::wstring KeyName(int keyCode) {
    if (keyCode == kSpace) return L"[Space]";
    if (keyCode == kBackQuote) return L"`";
    if ((keyCode >= L'0' && keyCode <= L'9') || (keyCode >= L'A' && keyCode <= L'Z'))
        return std::wstring(1, static_cast<wchar_t>(keyCode));
    if (keyCode >= kF1 && keyCode <= kF12) return L"F" + std::to_wstring(keyCode - kF1 + 1);
    return {};
}

// The inverse of KeyName, names compared whole.
std::optional<unsigned> KeyCodeOf(std::wstring_view name) {
    if (name == L"[Space]") return kSpace;
    if (name == L"`") return kBackQuote;
    if (name.size() == 1 && ((name[0] >= L'0' && name[0] <= L'9') || (name[0] >= L'A' && name[0] <= L'Z')))
        return static_cast<unsigned>(name[0]);
    for (int code = kF1; code <= kF12; ++code)
        if (name == KeyName(code)) return static_cast<unsigned>(code);
    return std::nullopt;
}

}  // namespace

std::wstring ComposeHotKeyText(int shiftMask, int keyCode) {
    return std::wstring(kPrefixes[static_cast<size_t>(shiftMask & 7)]) + KeyName(keyCode);
}

bool CanEnableHotKey(std::wstring_view text) {
    return text.find(L'+') != std::wstring_view::npos && !text.ends_with(L'+');
}

bool TakesTypedCharacter(const HotKeyCombination& combination) {
    return combination.modifiers == kModShift && !(combination.key >= kF1 && combination.key <= kF12);
}

// Strictly by the grammar: one prefix exactly, then one key name whole. The
// older reading (a modifier wherever "Ctrl", "Alt" or "Shift" occurs, the key
// from the last character) registers another key than the text says when the
// file was edited by hand: "Alt+F1x" would be Alt+F9 (code 120 is "x"),
// "Alt+a" Alt+Num 1 (97).
std::optional<HotKeyCombination> ParseHotKeyText(std::wstring_view text) {
    // No key name holds "+", so at most one prefix leaves a name behind it.
    for (int shiftMask = 1; shiftMask < static_cast<int>(kPrefixes.size()); ++shiftMask) {
        if (!text.starts_with(kPrefixes[shiftMask])) continue;
        const std::optional<unsigned> key = KeyCodeOf(text.substr(kPrefixes[shiftMask].size()));
        if (!key) continue;
        const HotKeyCombination combination{ModifiersOf(shiftMask), *key};
        if (TakesTypedCharacter(combination)) return std::nullopt;
        return combination;
    }
    return std::nullopt;
}

}  // namespace mivra
