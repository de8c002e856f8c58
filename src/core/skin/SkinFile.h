#pragma once
// The skin file: EncodeText of a skin text whose lines are "Key=value" ending
// in a carriage return. Each key is found at its first occurrence, so a key
// must not occur earlier inside another one (FGColor= stands before
// TabFGColor=). Colours are "r,g,b"; pictures are plain base64 image files.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/AnsiCodePage.h"

namespace mivra {

// red + 256 * green + 65536 * blue, as the panel's colours are held.
using Color = std::uint32_t;
constexpr Color Rgb(int r, int g, int b) { return Color(r) | (Color(g) << 8) | (Color(b) << 16); }

// The three numbers after `key` up to `terminator`: each rounded down, above
// 255 counts as 255; nullopt for a negative value, a non-number or fewer than
// three numbers. Numbers after the third are ignored.
std::optional<Color> ParseColor(std::wstring_view text, std::wstring_view key, std::wstring_view terminator = L"\r");

// The search box's background for a skin background: one integer subtraction
// of RGB(20,20,20) on the combined value, borrows and all, never below 0.
Color SearchBackground(Color background);

// The largest frame and title band a skin may ask for; larger values are
// taken as these, negative ones as 0.
inline constexpr int kMostSkinBorder = 32;
inline constexpr int kMostTitleBarHeight = 200;

struct Skin {
    std::wstring name;
    Color bgColor = 0, fgColor = 0, bdColor = 0;
    int border = 0;          // 0 .. kMostSkinBorder
    int titleBarHeight = 0;  // 0 .. kMostTitleBarHeight
    Color tabBdColor = 0, tabFgColor = 0, tabFgColor2 = 0;
    Color itemFgColor = 0;
    // The image files, decoded from base64; an unreadable image is the
    // caller's to leave empty. picItem is never empty in a parsed skin.
    std::vector<std::uint8_t> picItem, picSearch, picMenu, picMini, picQuit, picTab;
};

// Why a skin text was refused.
enum class SkinError { None, NoName, BadColor, BadNumber, NoItemPicture, MissingLine };

struct SkinParse {
    std::optional<Skin> skin;
    SkinError error = SkinError::None;
};

// Reads a decoded skin text (the text that EncodeText turned into the file).
SkinParse ParseSkinText(std::wstring_view text);

// Reads the skin file's bytes: ANSI text, decoded, then parsed.
SkinParse ParseSkinFile(const AnsiCodePage& codePage, std::string_view fileBytes);

// The text the check value C7S31 is computed over: the file's last-write
// time, 100-nanosecond ticks since 1601 (UTC), as decimal text. The skin
// download and the start-up check both use this one form.
std::wstring SkinStampText(std::uint64_t lastWriteTime);

// The check value stored in C7S31 for a skin file with that last-write time.
std::wstring SkinCheckValue(std::uint64_t lastWriteTime);

}  // namespace mivra
