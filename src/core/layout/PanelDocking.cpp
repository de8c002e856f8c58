#include "layout/PanelDocking.h"

#include <algorithm>

namespace mivra {

Point KeptOnScreen(const Box& panel, const Box& screen) {
    return {std::max(screen.left, std::min(panel.left, screen.right() - panel.width)),
            std::max(screen.top, std::min(panel.top, screen.bottom() - panel.height))};
}

}  // namespace mivra
