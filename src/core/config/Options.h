#pragma once
// Every stored option, declared once: its name in the code (`Opt`), its key
// in the file, how its stored text is read, and its default. Loading, the
// option store, the reset and the settings window all work from this table;
// no default is written anywhere else.
//
// Callers name an option by `Opt`, so a misspelt key does not compile, and
// read it through the accessor of its kind (Configuration::Flag, Int, Text):
// asking a flag for an integer does not compile either.

#include <array>
#include <climits>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace mivra {

enum class OptionKind {
    Flag,         // on exactly when the stored integer is 1
    Integer,      // read as the system reads integers, then through `range`
    Text,         // stored as it is
    EncodedText,  // stored through EncodeText; the default is stored form too
    Rectangle,    // "left,top,width,height" in twips; the default depends on the screen
};

// Values outside [min, max] or off the step read as `fallback`.
struct IntRange {
    int min = INT_MIN;
    int max = INT_MAX;
    int step = 1;
    int fallback = 0;
};

// The options, in the order in which LoadConfig reads them.
enum class Opt {
    Version, Handle, LockConfig, DisplayLogo, DisplaySearchSwitch, DisplayScrollBar, SortByCount,
    LockPosition, LockSize, LockTabs, LockItems, UIAnimation, Alpha, TabBarView, ItemBarView, ItemBarIcon,
    ItemBarText, Title, Size, CommandMode, ExecuteHide2, StartToTray, ShowFollowMouse, ShowFirstGroup,
    CloseToTray, BetaChannel, DisableAutoUpdate, TrayIcon, TopMost, DoubleClick, ItemHoverTips,
    TabHoverActivate, AutoHide, FullScreenHide, LostFocusHide, ExecuteHide, DoubleClickHide, MiddleButton2,
    LeftRightButton, MaxBackups, HoverDelay, HotKey, EnableHotKey,
    // Not read by LoadConfig.
    ActivatedTab, SkinCheck,
};

struct OptionEntry {
    Opt id;
    std::wstring_view key;
    OptionKind kind;
    std::wstring_view defaultValue;  // stored form; empty: no default (or computed)
    IntRange range{};
    bool loadedAtStart = true;  // read by LoadConfig, in table order
};

namespace options_detail {

using K = OptionKind;
constexpr IntRange Range(int min, int max, int fallback, int step = 1) { return {min, max, step, fallback}; }

// EncodeText of "Mivra" and of "Alt+1": ASCII, so the same on every code page.
inline constexpr std::wstring_view kEncodedTitle = L"twL2CMe=";
inline constexpr std::wstring_view kEncodedHotKey = L"qwX0kZe=";

inline constexpr std::array kTable = {
    OptionEntry{Opt::Version, L"Version", K::Text, L""},
    OptionEntry{Opt::Handle, L"Handle", K::Integer, L"0"},
    OptionEntry{Opt::LockConfig, L"LockConfig", K::Flag, L"0"},
    OptionEntry{Opt::DisplayLogo, L"DisplayLogo", K::Flag, L"1"},
    OptionEntry{Opt::DisplaySearchSwitch, L"DisplaySearchSwitch", K::Flag, L"1"},
    OptionEntry{Opt::DisplayScrollBar, L"DisplayScrollBar", K::Flag, L"1"},
    OptionEntry{Opt::SortByCount, L"SortByCount", K::Flag, L"0"},
    OptionEntry{Opt::LockPosition, L"LockPosition", K::Flag, L"0"},
    OptionEntry{Opt::LockSize, L"LockSize", K::Flag, L"0"},
    OptionEntry{Opt::LockTabs, L"LockTabs", K::Flag, L"0"},
    OptionEntry{Opt::LockItems, L"LockItems", K::Flag, L"0"},
    OptionEntry{Opt::UIAnimation, L"UIAnimation", K::Flag, L"1"},
    OptionEntry{Opt::Alpha, L"Alpha", K::Integer, L"100", Range(75, 100, 100, 5)},
    OptionEntry{Opt::TabBarView, L"TabBarView", K::Integer, L"1", Range(0, 4, 1)},
    OptionEntry{Opt::ItemBarView, L"ItemBarView", K::Integer, L"2", Range(0, 2, 2)},
    OptionEntry{Opt::ItemBarIcon, L"ItemBarIcon", K::Integer, L"1", Range(0, 2, 1)},
    OptionEntry{Opt::ItemBarText, L"ItemBarText", K::Integer, L"1", Range(0, 2, 1)},
    OptionEntry{Opt::Title, L"Title", K::EncodedText, kEncodedTitle},
    OptionEntry{Opt::Size, L"Size", K::Rectangle, L""},
    OptionEntry{Opt::CommandMode, L"CommandMode", K::Flag, L"0"},
    OptionEntry{Opt::ExecuteHide2, L"ExecuteHide2", K::Flag, L"0"},
    OptionEntry{Opt::StartToTray, L"StartToTray", K::Flag, L"0"},
    OptionEntry{Opt::ShowFollowMouse, L"ShowFollowMouse", K::Flag, L"0"},
    OptionEntry{Opt::ShowFirstGroup, L"ShowFirstGroup", K::Flag, L"0"},
    OptionEntry{Opt::CloseToTray, L"CloseToTray", K::Flag, L"1"},
    OptionEntry{Opt::BetaChannel, L"BetaChannel", K::Flag, L"0"},
    OptionEntry{Opt::DisableAutoUpdate, L"DisableAutoUpdate", K::Flag, L"0"},
    OptionEntry{Opt::TrayIcon, L"TrayIcon", K::Flag, L"1"},
    OptionEntry{Opt::TopMost, L"TopMost", K::Flag, L"1"},
    OptionEntry{Opt::DoubleClick, L"DoubleClick", K::Flag, L"0"},
    OptionEntry{Opt::ItemHoverTips, L"ItemHoverTips", K::Flag, L"0"},
    OptionEntry{Opt::TabHoverActivate, L"TabHoverActivate", K::Flag, L"0"},
    OptionEntry{Opt::AutoHide, L"AutoHide", K::Flag, L"1"},
    OptionEntry{Opt::FullScreenHide, L"FullScreenHide", K::Flag, L"1"},
    OptionEntry{Opt::LostFocusHide, L"LostFocusHide", K::Flag, L"0"},
    OptionEntry{Opt::ExecuteHide, L"ExecuteHide", K::Flag, L"0"},
    OptionEntry{Opt::DoubleClickHide, L"DoubleClickHide", K::Flag, L"0"},
    OptionEntry{Opt::MiddleButton2, L"MiddleButton2", K::Flag, L"0"},
    OptionEntry{Opt::LeftRightButton, L"LeftRightButton", K::Flag, L"0"},
    OptionEntry{Opt::MaxBackups, L"MaxBackups", K::Integer, L"7", Range(0, INT_MAX, 7)},
    OptionEntry{Opt::HoverDelay, L"HoverDelay", K::Integer, L"0", Range(0, INT_MAX, 0)},
    OptionEntry{Opt::HotKey, L"HotKey", K::EncodedText, kEncodedHotKey},
    OptionEntry{Opt::EnableHotKey, L"EnableHotKey", K::Flag, L"0"},
    OptionEntry{Opt::ActivatedTab, L"ActivatedTab", K::Integer, L"1", {}, false},
    // The check value of the installed skin.
    OptionEntry{Opt::SkinCheck, L"C7S31", K::Text, L"", {}, false},
};

// Each entry stands at the place of its name, so that EntryOf() is an index.
constexpr bool EveryEntryAtItsPlace() {
    for (size_t i = 0; i < kTable.size(); ++i)
        if (static_cast<size_t>(kTable[i].id) != i) return false;
    return true;
}
static_assert(EveryEntryAtItsPlace(), "the option table must list the options in the order of Opt");
static_assert(static_cast<size_t>(Opt::SkinCheck) + 1 == kTable.size(), "every option needs its table entry");

}  // namespace options_detail

inline constexpr size_t kOptionCount = options_detail::kTable.size();

constexpr const OptionEntry& EntryOf(Opt option) { return options_detail::kTable[static_cast<size_t>(option)]; }
constexpr OptionKind KindOf(Opt option) { return EntryOf(option).kind; }

// An option named where the code wants one kind: the name is checked when
// the program is compiled.
template <OptionKind... Kinds>
struct OptionOf {
    consteval OptionOf(Opt option) : id(option) {
        if (((KindOf(option) != Kinds) && ...)) throw "this option is of another kind";
    }
    Opt id;
};
using FlagOpt = OptionOf<OptionKind::Flag>;
using IntOpt = OptionOf<OptionKind::Integer>;
using TextOpt = OptionOf<OptionKind::Text, OptionKind::EncodedText, OptionKind::Rectangle>;

// The table, in the order in which LoadConfig reads it.
constexpr std::span<const OptionEntry> AllOptions() { return options_detail::kTable; }

// nullptr for a key that is not an option (keys compare without letter case).
const OptionEntry* FindOption(std::wstring_view key);

// The value an option has when its key holds `stored` (nullopt: no key),
// with the table's fallbacks applied. Flags read as "1" or "0"; integers as
// decimal text; text as it is; encoded text and rectangles stay stored form.
std::wstring EffectiveValue(const OptionEntry& option, const std::optional<std::wstring>& stored);

// Keys whose failed writes are not reported: the program writes them on its
// own at start and exit, not on the user's behalf.
bool IsQuietKey(Opt option);

}  // namespace mivra
