#pragma once
// One entry of a popup menu as data: the window side turns a list of these
// into a menu and the id chosen back into its command.

#include <string>

namespace mivra {

struct MenuEntry {
    enum class Kind { Command, Separator, Submenu, EndSubmenu };
    Kind kind = Kind::Command;
    std::wstring caption;
    unsigned id = 0;  // a command's; 0 is never chosen
    bool checked = false;
    bool greyed = false;
};

}  // namespace mivra
