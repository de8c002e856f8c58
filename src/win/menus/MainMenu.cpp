#include "menus/MainMenu.h"

#include "base/Unique.h"

namespace mivra::win {

MainMenuCommand TrackMainMenu(HWND owner, MainMenuForm) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return MainMenuCommand::None;
    constexpr UINT kExit = 1;
    AppendMenuW(menu.get(), MF_STRING, kExit, L"退出");
    POINT at{};
    GetCursorPos(&at);
    const UINT chosen =
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr);
    // A menu opened from the tray closes properly only when its owner gets a message after it.
    PostMessageW(owner, WM_NULL, 0, 0);
    return chosen == kExit ? MainMenuCommand::Exit : MainMenuCommand::None;
}

}  // namespace mivra::win
