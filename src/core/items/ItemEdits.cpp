#include "items/ItemEdits.h"

#include "data/DataFile.h"

#include <cmath>
#include <climits>
#include <cstdlib>
#include <optional>

#include "paths/PathNames.h"
#include "paths/PortablePath.h"
#include "text/Strings.h"

namespace mivra {
namespace {

std::wstring_view TrimSpaces(std::wstring_view s) {
    while (!s.empty() && (s.front() == L' ' || s.front() == L'\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == L' ' || s.back() == L'\t')) s.remove_suffix(1);
    return s;
}

// A decimal number: optional sign, digits with an optional fraction, an
// optional exponent. nullopt for anything else.
std::optional<double> ParseNumber(std::wstring_view s) {
    s = TrimSpaces(s);
    size_t i = 0;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) ++i;
    const size_t digitsStart = i;
    while (i < s.size() && s[i] >= L'0' && s[i] <= L'9') ++i;
    size_t digits = i - digitsStart;
    if (i < s.size() && s[i] == L'.') {
        ++i;
        const size_t fractionStart = i;
        while (i < s.size() && s[i] >= L'0' && s[i] <= L'9') ++i;
        digits += i - fractionStart;
    }
    if (digits == 0) return std::nullopt;
    if (i < s.size() && (s[i] == L'e' || s[i] == L'E')) {
        size_t e = i + 1;
        if (e < s.size() && (s[e] == L'+' || s[e] == L'-')) ++e;
        const size_t expStart = e;
        while (e < s.size() && s[e] >= L'0' && s[e] <= L'9') ++e;
        if (e == expStart) return std::nullopt;
        i = e;
    }
    if (i != s.size()) return std::nullopt;
    std::string ascii(s.begin(), s.end());
    return std::strtod(ascii.c_str(), nullptr);
}

}  // namespace

std::wstring NormalizeCount(std::wstring_view count) {
    const std::optional<double> number = ParseNumber(count);
    if (!number || !std::isfinite(*number)) return L"0";
    // Halves go to the even neighbour, as the default rounding mode does.
    const double rounded = std::nearbyint(*number);
    if (rounded > INT_MAX || rounded < INT_MIN) return L"0";
    return std::to_wstring(static_cast<int>(rounded));
}

std::wstring DroppedFileTitle(std::wstring_view path) {
    return ReplaceAll(BaseNameOf(path), L"&", L"&&");
}

bool IsLocalPath(std::wstring_view path) {
    return path.find(L'/') == std::wstring_view::npos && !path.starts_with(L"\\\\");
}

bool NamesAShortcut(std::wstring_view path) {
    return IsLocalPath(path) &&
           (EndsWithNoCase(path, L".lnk") || EndsWithNoCase(path, L".url") || EndsWithNoCase(path, L".website"));
}

AddedTarget ResolveAddedTarget(ItemSources& sources, const AnsiCodePage& codePage, std::wstring_view title, std::wstring_view path,
                               std::wstring_view icoPath, std::wstring_view argument) {
    const AddedTarget asGiven{std::wstring(path), std::wstring(icoPath), std::wstring(argument)};
    if (!IsLocalPath(path)) return {asGiven.path, icoPath.empty() ? asGiven.path : asGiven.icoPath, asGiven.argument};

    if (EndsWithNoCase(path, L".lnk")) {
        if (std::optional<std::wstring> installed = sources.AdvertisedShortcutPath(path))
            return {*installed, *installed, L""};
        const std::optional<ShortcutTarget> shortcut = sources.ReadShortcut(path);
        if (!shortcut || shortcut->path.empty()) return asGiven;
        // A 32-bit program's shortcut may name the 32-bit Program Files for a
        // target that lives in the 64-bit one.
        const std::wstring programFiles = sources.Environment(L"ProgramFiles").value_or(L"");
        std::wstring target = shortcut->path;
        if (!programFiles.empty()) {
            const std::wstring p = CleanPath(programFiles + L"\\");
            const std::wstring p64 = CleanPath(ReplaceAll(programFiles, L" (x86)", L"") + L"\\");
            if (target.find(p) != std::wstring::npos) {
                const std::wstring candidate = ReplaceAll(target, p, p64);
                if (sources.Exists(candidate)) target = candidate;
            }
        }
        return {target, target, shortcut->arguments};
    }

    if (EndsWithNoCase(path, L".url") || EndsWithNoCase(path, L".website")) {
        // "URL=" up to the carriage return, in the ANSI code page.
        const std::optional<std::string> bytes = sources.ReadFile(path);
        std::wstring url;
        if (bytes) {
            const size_t start = bytes->find("URL=");
            const size_t end = start == std::string::npos ? std::string::npos : bytes->find('\r', start + 4);
            if (end != std::string::npos) url = codePage.FromAnsi(std::string_view(*bytes).substr(start + 4, end - start - 4));
        }
        return {url, url, L""};
    }

    if (!title.empty() || !path.empty()) return asGiven;
    return {};
}

bool AddItem(std::vector<ItemRecord>& items, ItemSources& sources, const AnsiCodePage& codePage,
             std::wstring_view title, std::wstring_view path,
             std::wstring_view icoPath, std::wstring_view argument, std::wstring_view count) {
    AddedTarget target = ResolveAddedTarget(sources, codePage, title, path, icoPath, argument);
    ItemRecord item{std::wstring(title), std::move(target.path), std::move(target.icoPath), std::move(target.argument),
                    NormalizeCount(count)};
    // A shortcut's arguments or an internet shortcut's address can hold what
    // would be misread after the next start: such an item is not added.
    if (!FieldTheRecordCannotHold(item).empty()) return false;
    items.push_back(std::move(item));
    return true;
}

bool EditItem(std::vector<ItemRecord>& items, size_t number, std::wstring_view title, std::wstring_view path,
              std::wstring_view icoPath, std::wstring_view argument) {
    if (number < 1 || number > items.size()) return false;
    ItemRecord& item = items[number - 1];
    item.title = title;
    item.path = path;
    item.icoPath = icoPath;
    item.argument = argument;
    return true;
}

bool SwapItems(std::vector<ItemRecord>& items, size_t a, size_t b) {
    if (a < 1 || b < 1 || a > items.size() || b > items.size()) return false;
    if (a != b) std::swap(items[a - 1], items[b - 1]);
    return true;
}

}  // namespace mivra
