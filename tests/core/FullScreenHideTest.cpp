#include "app/FullScreenHide.h"

#include <gtest/gtest.h>

namespace mivra {
namespace {

using A = FullScreenHide::Action;

TEST(FullScreenHide, HidesForAFullScreenProgramAndComesBackOnlyIfItHidItself) {
    FullScreenHide hide;
    EXPECT_EQ(hide.OnFullScreen(true, true, true), A::Hide);
    EXPECT_EQ(hide.OnFullScreen(false, true, false), A::Show);
    EXPECT_EQ(hide.OnFullScreen(false, true, false), A::None) << "once";

    EXPECT_EQ(hide.OnFullScreen(true, true, false), A::None) << "the user had hidden it";
    EXPECT_EQ(hide.OnFullScreen(false, true, false), A::None) << "and it stays hidden";

    EXPECT_EQ(hide.OnFullScreen(true, false, true), A::None) << "the option is off";

    EXPECT_EQ(hide.OnFullScreen(true, true, true), A::Hide);
    hide.PanelShown();  // the hotkey brought it back meanwhile, then the user hid it again
    EXPECT_EQ(hide.OnFullScreen(false, true, false), A::None);
}

TEST(FullScreenHide, TheIdleTaskTrimsOnEvenTicksAndChecksEveryFifteenth) {
    IdleTicks ticks;
    int trims = 0, checks = 0;
    for (int i = 1; i <= 30; ++i) {
        const IdleTick tick = ticks.Next();
        trims += tick.trimWorkingSet;
        checks += tick.checkForUpdate;
        if (i == 15) {
            EXPECT_TRUE(tick.checkForUpdate && tick.trimWorkingSet) << "the reset count 0 is even";
        } else if (i <= 2) {
            EXPECT_EQ(tick.trimWorkingSet, i == 2);
        }
    }
    EXPECT_EQ(checks, 2);
    EXPECT_EQ(trims, 16);  // counts 2,4,..,14, 0 at the 15th, then 2,..,14 and 0 again
}

}  // namespace
}  // namespace mivra
