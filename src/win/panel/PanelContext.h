#pragma once
// What the main panel hands each of its children when it makes them: they
// read the look, the options and the groups, and use the item services,
// but they never see the panel itself. What happens in a child goes back
// through that child's own events interface.

#include <windows.h>

#include <vector>

#include "config/Configuration.h"
#include "data/Group.h"
#include "items/ItemServices.h"

namespace mivra::win {

struct PanelLook;

struct PanelContext {
    HINSTANCE instance;
    const PanelLook& look;
    Configuration& config;
    std::vector<Group>& groups;  // in tab order
    ItemServices& items;
};

}  // namespace mivra::win
