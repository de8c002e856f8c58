#pragma once
// The two global mouse gestures that toggle the panel as the hotkey does: a
// click of the middle button, and the left and right buttons pressed
// together. The buttons' states are tracked from the events themselves,
// since the hook that sees them runs on a thread of its own.

namespace mivra {

enum class MouseEvent { LeftDown, LeftUp, RightDown, RightUp, MiddleDown, MiddleUp, Other };

struct GestureOptions {
    bool middleButton = false;  // MiddleButton2
    bool leftRight = false;     // LeftRightButton
};

class GestureTracker {
public:
    // Takes the event in; whether it completes a gesture that is switched on.
    // No event is ever swallowed: the caller passes every one on.
    bool Toggles(MouseEvent event, GestureOptions options);

private:
    bool left_ = false;
    bool right_ = false;
};

}  // namespace mivra
