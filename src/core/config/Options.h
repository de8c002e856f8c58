#pragma once
// Every stored option, described once: its key, how its stored text is read,
// and its default. Loading, the option store, the reset and the settings
// window all work from this table; no default is written anywhere else.

#include <climits>
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

struct OptionSpec {
    std::wstring_view key;
    OptionKind kind;
    std::wstring_view defaultValue;  // stored form; empty: no default (or computed)
    IntRange range{};
    bool loadedAtStart = true;  // read by LoadConfig, in table order
};

// The table, in the order in which LoadConfig reads it.
std::span<const OptionSpec> AllOptions();

// nullptr for a key that is not an option.
const OptionSpec* FindOption(std::wstring_view key);

// The value an option has when its key holds `stored` (nullopt: no key),
// with the table's fallbacks applied. Flags read as "1" or "0"; integers as
// decimal text; text as it is; encoded text and rectangles stay stored form.
std::wstring EffectiveValue(const OptionSpec& option, const std::optional<std::wstring>& stored);

// Keys whose failed writes are not reported: the program writes them on its
// own at start and exit, not on the user's behalf.
bool IsQuietKey(std::wstring_view key);

}  // namespace mivra
