#include "support/MenuChooser.h"

namespace mivra::test {
namespace {

MenuChooser* active = nullptr;  // a timer procedure has no context; one chooser at a time

std::wstring CaptionAt(HMENU menu, int position) {
    wchar_t text[256] = L"";
    GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
    return text;
}

bool IsSeparator(HMENU menu, int position) {
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    return (info.fType & MFT_SEPARATOR) != 0;
}

void Post(HWND to, WPARAM key) {
    PostMessageW(to, WM_KEYDOWN, key, 0);
    PostMessageW(to, WM_KEYUP, key, 0xC0000000);
}

}  // namespace

MenuChooser::MenuChooser(std::vector<std::wstring> path) : path_(std::move(path)) {
    active = this;
    timer_ = SetTimer(nullptr, 0, 20, &MenuChooser::Tick);
}

MenuChooser::~MenuChooser() {
    KillTimer(nullptr, timer_);
    active = nullptr;
}

void CALLBACK MenuChooser::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (active) active->Drive();
}

void MenuChooser::Drive() {
    if (seen_) return;
    if (++ticks_ > 250) {  // five seconds: never leave a test waiting in a menu
        EndMenu();
        return;
    }
    HWND window = FindWindowW(L"#32768", nullptr);
    if (!window || !IsWindowVisible(window)) return;
    seen_ = true;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) captions_.push_back(CaptionAt(menu, i));
    // The menu's loop reads every key of this thread, whichever window it is for.
    if (path_.empty()) return Post(window, VK_ESCAPE);
    std::vector<WPARAM> presses;
    for (size_t level = 0; level < path_.size(); ++level) {
        // One Down per entry the arrows stop at (they pass separators); a
        // submenu opens with its first entry selected already.
        int downs = level == 0 ? 0 : -1, position = 0;
        const int count = GetMenuItemCount(menu);
        for (; position < count; ++position) {
            if (IsSeparator(menu, position)) continue;
            ++downs;
            if (CaptionAt(menu, position) == path_[level]) break;
        }
        if (position == count) {
            EndMenu();
            return;
        }
        presses.insert(presses.end(), static_cast<size_t>(downs), VK_DOWN);
        if (level + 1 < path_.size()) {
            presses.push_back(VK_RIGHT);
            menu = GetSubMenu(menu, position);
        }
    }
    presses.push_back(VK_RETURN);
    for (WPARAM key : presses) Post(window, key);
    chosen_ = true;
}

}  // namespace mivra::test
