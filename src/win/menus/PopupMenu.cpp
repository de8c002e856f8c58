#include "menus/PopupMenu.h"

#include "base/Unique.h"

namespace mivra::win {

unsigned TrackPopup(HWND owner, const std::vector<MenuEntry>& entries, POINT at) {
    // The menu being filled and its captions, innermost last.
    struct Level {
        UniqueMenu menu;
        std::wstring caption;
    };
    std::vector<Level> levels;
    levels.push_back({UniqueMenu(CreatePopupMenu()), L""});
    for (const MenuEntry& entry : entries) {
        HMENU menu = levels.back().menu.get();
        if (!menu) return 0;
        switch (entry.kind) {
        case MenuEntry::Kind::Command: {
            const UINT flags = MF_STRING | (entry.checked ? MF_CHECKED : 0u) | (entry.greyed ? MF_GRAYED : 0u);
            AppendMenuW(menu, flags, entry.id, entry.caption.c_str());
            break;
        }
        case MenuEntry::Kind::Separator: AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); break;
        case MenuEntry::Kind::Submenu: levels.push_back({UniqueMenu(CreatePopupMenu()), entry.caption}); break;
        case MenuEntry::Kind::EndSubmenu:
            if (levels.size() < 2) break;
            Level inner = std::move(levels.back());
            levels.pop_back();
            // From here the outer menu owns it.
            if (AppendMenuW(levels.back().menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(inner.menu.get()),
                            inner.caption.c_str()))
                inner.menu.release();
            break;
        }
    }
    if (levels.size() != 1 || !levels.front().menu) return 0;
    const UINT chosen = TrackPopupMenu(levels.front().menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x,
                                       at.y, 0, owner, nullptr);
    // A menu opened from the tray closes properly only when its owner gets a message after it.
    PostMessageW(owner, WM_NULL, 0, 0);
    return chosen;
}

}  // namespace mivra::win
