#pragma once
// What adding an item needs to learn from the system about a dropped file:
// where a shortcut points, what an internet shortcut holds, whether a file
// exists. The program asks the shell; tests use a fake.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace mivra {

inline constexpr size_t kMostItemFileBytes = 64 * 1024;

struct ShortcutTarget {
    std::wstring path;       // empty when the shortcut has no target
    std::wstring arguments;
};

class ItemSources {
public:
    virtual ~ItemSources() = default;
    // The installed path of an installer-advertised shortcut, or nullopt for
    // an ordinary shortcut.
    virtual std::optional<std::wstring> AdvertisedShortcutPath(std::wstring_view shortcut) = 0;
    // The target and arguments an ordinary shortcut holds; nullopt when it
    // cannot be read.
    virtual std::optional<ShortcutTarget> ReadShortcut(std::wstring_view shortcut) = 0;
    // The file's first bytes, at most kMostItemFileBytes of them (an internet
    // shortcut is a few lines; whatever else has that name is not read
    // whole); nullopt when it cannot be read.
    virtual std::optional<std::string> ReadFile(std::wstring_view path) = 0;
    // A file or folder of that name exists.
    virtual bool Exists(std::wstring_view path) = 0;
    virtual std::optional<std::wstring> Environment(std::wstring_view name) = 0;
};

}  // namespace mivra
