#include "support/MenuChooser.h"

namespace mivra::test {
namespace {

MenuChooser* active = nullptr;  // a timer procedure has no context; one chooser at a time

// The keyboard steps from nothing selected to `caption` in `menu`: one Down
// per entry that the arrows stop at (separators they pass); -1 when absent.
int DownsTo(HMENU menu, const std::wstring& caption) {
    int downs = 0;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW info{sizeof info};
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        if (info.fType & MFT_SEPARATOR) continue;
        ++downs;
        wchar_t text[256] = L"";
        GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        if (caption == text) return downs;
    }
    return -1;
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
    // The menu's loop reads every key of this thread, whichever window it is for.
    HWND keys = window;
    if (path_.empty()) return Post(keys, VK_ESCAPE);
    std::vector<WPARAM> presses;
    for (size_t level = 0; level < path_.size(); ++level) {
        const int downs = DownsTo(menu, path_[level]);
        if (downs < 0) {
            EndMenu();
            return;
        }
        // A submenu opens with its first entry selected already.
        presses.insert(presses.end(), static_cast<size_t>(level == 0 ? downs : downs - 1), VK_DOWN);
        if (level + 1 < path_.size()) {
            presses.push_back(VK_RIGHT);
            for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                wchar_t text[256] = L"";
                GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
                if (path_[level] == text) {
                    menu = GetSubMenu(menu, i);
                    break;
                }
            }
        }
    }
    presses.push_back(VK_RETURN);
    for (WPARAM key : presses) Post(keys, key);
    chosen_ = true;
}

}  // namespace mivra::test
