#include "app/MouseGestures.h"

namespace mivra {

bool GestureTracker::Toggles(MouseEvent event, GestureOptions options) {
    switch (event) {
    case MouseEvent::LeftDown:
        left_ = true;
        return options.leftRight && right_;
    case MouseEvent::RightDown:
        right_ = true;
        return options.leftRight && left_;
    case MouseEvent::LeftUp:
        left_ = false;
        return false;
    case MouseEvent::RightUp:
        right_ = false;
        return false;
    case MouseEvent::MiddleUp:
        return options.middleButton;
    case MouseEvent::MiddleDown:
    case MouseEvent::Other:
        break;
    }
    return false;
}

}  // namespace mivra
