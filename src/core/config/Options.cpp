#include "config/Options.h"

#include <array>

#include "config/ProfileFile.h"
#include "text/Strings.h"

namespace mivra {
namespace {

using K = OptionKind;

constexpr IntRange Range(int min, int max, int fallback, int step = 1) { return {min, max, step, fallback}; }

// EncodeText of "Mivra" and of "Alt+1": ASCII, so the same on every code page.
constexpr std::wstring_view kEncodedTitle = L"twL2CMe=";
constexpr std::wstring_view kEncodedHotKey = L"qwX0kZe=";

const std::array kOptions = {
    OptionSpec{L"Version", K::Text, L""},
    OptionSpec{L"Handle", K::Integer, L"0"},
    OptionSpec{L"LockConfig", K::Flag, L"0"},
    OptionSpec{L"DisplayLogo", K::Flag, L"1"},
    OptionSpec{L"DisplaySearchSwitch", K::Flag, L"1"},
    OptionSpec{L"DisplayScrollBar", K::Flag, L"1"},
    OptionSpec{L"SortByCount", K::Flag, L"0"},
    OptionSpec{L"LockPosition", K::Flag, L"0"},
    OptionSpec{L"LockSize", K::Flag, L"0"},
    OptionSpec{L"LockTabs", K::Flag, L"0"},
    OptionSpec{L"LockItems", K::Flag, L"0"},
    OptionSpec{L"UIAnimation", K::Flag, L"1"},
    OptionSpec{L"Alpha", K::Integer, L"100", Range(75, 100, 100, 5)},
    OptionSpec{L"TabBarView", K::Integer, L"1", Range(0, 4, 1)},
    OptionSpec{L"ItemBarView", K::Integer, L"2", Range(0, 2, 2)},
    OptionSpec{L"ItemBarIcon", K::Integer, L"1", Range(0, 2, 1)},
    OptionSpec{L"ItemBarText", K::Integer, L"1", Range(0, 2, 1)},
    OptionSpec{L"Title", K::EncodedText, kEncodedTitle},
    OptionSpec{L"Size", K::Rectangle, L""},
    OptionSpec{L"CommandMode", K::Flag, L"0"},
    OptionSpec{L"ExecuteHide2", K::Flag, L"0"},
    OptionSpec{L"StartToTray", K::Flag, L"0"},
    OptionSpec{L"ShowFollowMouse", K::Flag, L"0"},
    OptionSpec{L"ShowFirstGroup", K::Flag, L"0"},
    OptionSpec{L"CloseToTray", K::Flag, L"1"},
    OptionSpec{L"BetaChannel", K::Flag, L"0"},
    OptionSpec{L"DisableAutoUpdate", K::Flag, L"0"},
    OptionSpec{L"TrayIcon", K::Flag, L"1"},
    OptionSpec{L"TopMost", K::Flag, L"1"},
    OptionSpec{L"DoubleClick", K::Flag, L"0"},
    OptionSpec{L"ItemHoverTips", K::Flag, L"0"},
    OptionSpec{L"TabHoverActivate", K::Flag, L"0"},
    OptionSpec{L"AutoHide", K::Flag, L"1"},
    OptionSpec{L"FullScreenHide", K::Flag, L"1"},
    OptionSpec{L"LostFocusHide", K::Flag, L"0"},
    OptionSpec{L"ExecuteHide", K::Flag, L"0"},
    OptionSpec{L"DoubleClickHide", K::Flag, L"0"},
    OptionSpec{L"MiddleButton2", K::Flag, L"0"},
    OptionSpec{L"LeftRightButton", K::Flag, L"0"},
    OptionSpec{L"MaxBackups", K::Integer, L"7", Range(0, INT_MAX, 7)},
    OptionSpec{L"HoverDelay", K::Integer, L"0", Range(0, INT_MAX, 0)},
    OptionSpec{L"HotKey", K::EncodedText, kEncodedHotKey},
    OptionSpec{L"EnableHotKey", K::Flag, L"0"},
    // Not read by LoadConfig.
    OptionSpec{L"ActivatedTab", K::Integer, L"1", {}, false},
    OptionSpec{L"C7S31", K::Text, L"", {}, false},
};

}  // namespace

std::span<const OptionSpec> AllOptions() { return kOptions; }

const OptionSpec* FindOption(std::wstring_view key) {
    for (const OptionSpec& option : kOptions)
        if (EqualsNoCase(option.key, key)) return &option;
    return nullptr;
}

std::wstring EffectiveValue(const OptionSpec& option, const std::optional<std::wstring>& stored) {
    switch (option.kind) {
    case OptionKind::Flag: {
        const int value = stored ? ProfileIntOf(*stored) : ProfileIntOf(option.defaultValue);
        return value == 1 ? L"1" : L"0";
    }
    case OptionKind::Integer: {
        const int value = stored ? ProfileIntOf(*stored) : ProfileIntOf(option.defaultValue);
        const IntRange& r = option.range;
        const bool inRange =
            value >= r.min && value <= r.max && (static_cast<long long>(value) - r.min) % r.step == 0;
        return std::to_wstring(inRange ? value : r.fallback);
    }
    case OptionKind::Text:
    case OptionKind::EncodedText:
    case OptionKind::Rectangle:
        break;
    }
    return stored ? *stored : std::wstring(option.defaultValue);
}

bool IsQuietKey(std::wstring_view key) {
    for (std::wstring_view quiet : {L"ActivatedTab", L"Size", L"Handle", L"Version"})
        if (key == quiet) return true;
    return false;
}

}  // namespace mivra
