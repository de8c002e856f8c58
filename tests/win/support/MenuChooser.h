#pragma once
// Chooses an entry of the next popup menu this thread opens, through the
// menu's own keyboard messages as a user's keys would: a thread timer, which
// the menu's modal loop runs, waits for the menu and posts the arrow keys
// that lead to the entry (and into its submenus) and Enter.

#include <windows.h>

#include <string>
#include <vector>

namespace mivra::test {

class MenuChooser {
public:
    // `path`: the captions from the top menu down to the entry. An empty path
    // cancels the menu with Escape.
    explicit MenuChooser(std::vector<std::wstring> path);
    ~MenuChooser();
    MenuChooser(const MenuChooser&) = delete;
    MenuChooser& operator=(const MenuChooser&) = delete;

    // Whether the menu came and every caption of the path was in it.
    bool Chosen() const { return chosen_; }
    bool MenuSeen() const { return seen_; }
    // The top menu's captions as it showed them.
    const std::vector<std::wstring>& Captions() const { return captions_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Drive();

    std::vector<std::wstring> path_, captions_;
    UINT_PTR timer_ = 0;
    int ticks_ = 0;
    bool seen_ = false, chosen_ = false;
};

}  // namespace mivra::test
