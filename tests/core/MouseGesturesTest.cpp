#include "app/MouseGestures.h"

#include <gtest/gtest.h>

#include <vector>

namespace mivra {
namespace {

using E = MouseEvent;

// How many toggles a sequence of events makes.
int Toggles(const std::vector<E>& events, GestureOptions options) {
    GestureTracker tracker;
    int toggles = 0;
    for (E event : events) toggles += tracker.Toggles(event, options) ? 1 : 0;
    return toggles;
}

TEST(MouseGestures, EachGestureTogglesOnceWhenItsOptionIsOn) {
    const GestureOptions both{true, true}, none{false, false}, middleOnly{true, false};
    struct Case { std::vector<E> events; GestureOptions options; int toggles; };
    const Case cases[] = {
        {{E::MiddleDown, E::MiddleUp}, both, 1},
        {{E::MiddleDown, E::MiddleUp}, none, 0},
        {{E::RightDown, E::LeftDown, E::LeftUp, E::RightUp}, both, 1},   // left click while right held
        {{E::LeftDown, E::RightDown, E::RightUp, E::LeftUp}, both, 1},   // right click while left held
        {{E::RightDown, E::LeftDown, E::LeftUp, E::RightUp}, middleOnly, 0},
        {{E::LeftDown, E::LeftUp, E::RightDown, E::RightUp}, both, 0},   // one after the other
        {{E::RightDown, E::LeftDown, E::LeftUp, E::LeftDown, E::LeftUp}, both, 2},  // right held, two left clicks
        {{E::Other, E::MiddleDown, E::Other}, both, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(Toggles(c.events, c.options), c.toggles);
}

}  // namespace
}  // namespace mivra
