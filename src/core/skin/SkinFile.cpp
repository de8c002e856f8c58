#include "skin/SkinFile.h"

#include <algorithm>

#include <climits>
#include <initializer_list>
#include <utility>

#include "text/Crc32.h"
#include "text/TextCoder.h"

namespace mivra {
namespace {

constexpr std::wstring_view kLineEnd = L"\r";

constexpr bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
constexpr bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::wstring_view TrimBlanks(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Removes a leading "+" or "-"; true for "-".
bool TakeSign(std::wstring_view& text) {
    if (text.empty() || (text.front() != L'+' && text.front() != L'-')) return false;
    const bool negative = text.front() == L'-';
    text.remove_prefix(1);
    return negative;
}

// The value of a line, as GetBetween reads it, but telling a missing line
// (no key, or no carriage return after it) from an empty value.
std::optional<std::wstring_view> LineValue(std::wstring_view text, std::wstring_view key) {
    const size_t at = text.find(key);
    if (at == std::wstring_view::npos) return std::nullopt;
    const size_t start = at + key.size();
    const size_t end = text.find(kLineEnd, start);
    if (end == std::wstring_view::npos) return std::nullopt;
    return text.substr(start, end - start);
}

// One colour component: a decimal number with an optional fraction, rounded
// down and capped at 255. Negative values and anything else are refused.
std::optional<int> ColorComponent(std::wstring_view text) {
    text = TrimBlanks(text);
    const bool negative = TakeSign(text);
    int whole = 0;
    bool anyDigit = false;
    size_t i = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        anyDigit = true;
        if (whole < 256) whole = whole * 10 + (text[i] - L'0');  // past 255 only the cap matters
    }
    bool anyNonZero = whole != 0;
    if (i < text.size() && text[i] == L'.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            anyDigit = true;
            anyNonZero = anyNonZero || text[i] != L'0';
        }
    }
    if (!anyDigit || i != text.size()) return std::nullopt;
    // "-0" and "-0.0" are zero, not negative.
    if (negative && anyNonZero) return std::nullopt;
    return whole > 255 ? 255 : whole;
}

// "r,g,b": the first three comma-separated numbers; what follows the third
// comma is not read.
std::optional<Color> ColorFromValue(std::wstring_view value) {
    int parts[3];
    for (int n = 0; n < 3; ++n) {
        const size_t comma = value.find(L',');
        if (comma == std::wstring_view::npos && n < 2) return std::nullopt;
        const auto component = ColorComponent(value.substr(0, comma));
        if (!component) return std::nullopt;
        parts[n] = *component;
        if (n < 2) value.remove_prefix(comma + 1);
    }
    return Rgb(parts[0], parts[1], parts[2]);
}

// A whole number of pixels: optional sign and decimal digits, blanks around.
std::optional<int> WholeNumber(std::wstring_view text) {
    text = TrimBlanks(text);
    const bool negative = TakeSign(text);
    if (text.empty()) return std::nullopt;
    long long value = 0;
    for (wchar_t c : text) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > INT_MAX) return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

SkinParse Refused(SkinError error) { return {std::nullopt, error}; }

}  // namespace

std::optional<Color> ParseColor(std::wstring_view text, std::wstring_view key, std::wstring_view terminator) {
    return ColorFromValue(GetBetween(text, key, terminator));
}

Color SearchBackground(Color background) {
    constexpr Color kDarken = Rgb(20, 20, 20);  // 1315860
    return background > kDarken ? background - kDarken : 0;
}

SkinParse ParseSkinText(std::wstring_view text) {
    Skin skin;

    const auto name = LineValue(text, L"Name=");
    if (!name || name->empty()) return Refused(SkinError::NoName);
    skin.name = *name;

    // Keys are read in this order; each is found at its first occurrence.
    struct ColorKey {
        std::wstring_view key;
        Color Skin::*field;
    };
    auto readColors = [&](std::initializer_list<ColorKey> keys) -> SkinError {
        for (const auto& [key, field] : keys) {
            const auto value = LineValue(text, key);
            if (!value) return SkinError::MissingLine;
            const auto color = ColorFromValue(*value);
            if (!color) return SkinError::BadColor;
            skin.*field = *color;
        }
        return SkinError::None;
    };
    // Sizes are kept to what a panel can show before any layout adds them up.
    auto readNumber = [&](std::wstring_view key, int& field, int most) -> SkinError {
        const auto value = LineValue(text, key);
        if (!value) return SkinError::MissingLine;
        const auto number = WholeNumber(*value);
        if (!number) return SkinError::BadNumber;
        field = std::clamp(*number, 0, most);
        return SkinError::None;
    };

    SkinError error = readColors({{L"BGColor=", &Skin::bgColor}, {L"FGColor=", &Skin::fgColor},
                                  {L"BDColor=", &Skin::bdColor}});
    if (error == SkinError::None) error = readNumber(L"Border=", skin.border, kMostSkinBorder);
    if (error == SkinError::None) error = readNumber(L"TitleBarHeight=", skin.titleBarHeight, kMostTitleBarHeight);
    if (error == SkinError::None)
        error = readColors({{L"TabBDColor=", &Skin::tabBdColor}, {L"TabFGColor=", &Skin::tabFgColor},
                            {L"TabFGColor2=", &Skin::tabFgColor2}, {L"ItemFGColor=", &Skin::itemFgColor}});
    if (error != SkinError::None) return Refused(error);

    // The item background is the one picture a skin must have; the others
    // may be empty (the controls then keep their own).
    const auto picItem = LineValue(text, L"picItem=");
    if (!picItem) return Refused(SkinError::MissingLine);
    skin.picItem = DecodeBytes(*picItem);
    if (skin.picItem.empty()) return Refused(SkinError::NoItemPicture);
    skin.picSearch = DecodeBytes(GetBetween(text, L"picSearch=", kLineEnd));
    skin.picMenu = DecodeBytes(GetBetween(text, L"picMenu=", kLineEnd));
    skin.picMini = DecodeBytes(GetBetween(text, L"picMini=", kLineEnd));
    skin.picQuit = DecodeBytes(GetBetween(text, L"picQuit=", kLineEnd));
    skin.picTab = DecodeBytes(GetBetween(text, L"picTab=", kLineEnd));

    return {std::move(skin), SkinError::None};
}

SkinParse ParseSkinFile(const AnsiCodePage& codePage, std::string_view fileBytes) {
    return ParseSkinText(DecodeText(codePage, codePage.FromAnsi(fileBytes)));
}

std::wstring SkinStampText(std::uint64_t lastWriteTime) { return std::to_wstring(lastWriteTime); }

std::wstring SkinCheckValue(std::uint64_t lastWriteTime) {
    // Decimal digits are the same bytes in every ANSI code page.
    const std::wstring stamp = SkinStampText(lastWriteTime);
    const std::string ascii(stamp.begin(), stamp.end());
    return CrcHex(Crc32({reinterpret_cast<const std::uint8_t*>(ascii.data()), ascii.size()}));
}

}  // namespace mivra
