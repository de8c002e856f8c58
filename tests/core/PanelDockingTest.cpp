#include "layout/PanelDocking.h"

#include <gtest/gtest.h>

namespace mivra {
namespace {

TEST(PanelDocking, APanelShownAgainIsBroughtBackOntoTheScreen) {
    const Box screen{-1280, 0, 2560, 800};  // two screens side by side
    struct Case { Box panel; Point at; };
    const Case cases[] = {
        {{100, 100, 300, 400}, {100, 100}},      // inside: stays
        {{-1500, 100, 300, 400}, {-1280, 100}},  // beyond the left edge
        {{1200, 600, 300, 400}, {980, 400}},     // beyond the right and bottom edges
        {{0, -50, 300, 400}, {0, 0}},            // above the top
        {{0, 0, 3000, 900}, {-1280, 0}},         // larger than the screen: its left and top edges show
    };
    for (const Case& c : cases) EXPECT_EQ(KeptOnScreen(c.panel, screen), c.at) << c.panel.left << "," << c.panel.top;
}

}  // namespace
}  // namespace mivra
