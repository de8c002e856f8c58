#pragma once
// Item sources answered by the system: the shell's shortcut object, the
// installer's table of advertised shortcuts and the file system. Call on the
// UI thread: the first shortcut read initialises COM there.

#include "items/ItemSources.h"

namespace mivra::win {

class ShellItemSources final : public ItemSources {
public:
    std::optional<std::wstring> AdvertisedShortcutPath(std::wstring_view shortcut) override;
    std::optional<ShortcutTarget> ReadShortcut(std::wstring_view shortcut) override;
    std::optional<std::string> ReadFile(std::wstring_view path) override;
    bool Exists(std::wstring_view path) override;
    std::optional<std::wstring> Environment(std::wstring_view name) override;
};

}  // namespace mivra::win
