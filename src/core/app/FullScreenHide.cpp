#include "app/FullScreenHide.h"

namespace mivra {

FullScreenHide::Action FullScreenHide::OnFullScreen(bool appeared, bool enabled, bool panelShown) {
    if (!enabled) return Action::None;
    if (appeared && panelShown) {
        hiddenForFullScreen_ = true;
        return Action::Hide;
    }
    if (!appeared && !panelShown && hiddenForFullScreen_) {
        hiddenForFullScreen_ = false;
        return Action::Show;
    }
    return Action::None;
}

IdleTick IdleTicks::Next() {
    IdleTick tick;
    if (++ticks_ == 15) {
        tick.checkForUpdate = true;
        ticks_ = 0;
    }
    tick.trimWorkingSet = ticks_ % 2 == 0;
    return tick;
}

}  // namespace mivra
