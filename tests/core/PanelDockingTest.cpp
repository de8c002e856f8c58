#include "layout/PanelDocking.h"

#include <gtest/gtest.h>

#include <vector>

namespace mivra {
namespace {

using Monitors = std::vector<Box>;
const Monitors kOne = {{0, 0, 1920, 1080}};
const Monitors kSideBySide = {{-1280, 0, 1280, 1024}, {0, 0, 1920, 1080}};
const Monitors kSmallSecond = {{0, 0, 1920, 1080}, {1920, 0, 1280, 720}};
const Monitors kStacked = {{0, 0, 1920, 1080}, {0, 1080, 1920, 1080}};

constexpr int W = 300, H = 400;
Box PanelAt(int x, int y) { return {x, y, W, H}; }

using A = HidePlan::Action;

TEST(PanelDocking, HidingParksADockedPanelBeyondTheOuterEdgesOfItsMonitor) {
    struct Case {
        const char* what;
        const Monitors& monitors;
        Point at;
        HideMode mode;
        A action;
        Point target;
        Edges hidden;
    };
    const Edges L{true, false, false, false}, R{false, true, false, false}, T{false, false, true, false},
        B{false, false, false, true}, none{};
    const Case cases[] = {
        {"left", kOne, {0, 100}, HideMode::Automatic, A::Slide, {-300, 100}, L},
        {"beyond the left", kOne, {-40, 100}, HideMode::OnRequest, A::Slide, {-300, 100}, L},
        {"already parked", kOne, {-300, 100}, HideMode::Automatic, A::Stay, {-300, 100}, L},
        {"middle, on request", kOne, {800, 300}, HideMode::OnRequest, A::HideWindow, {}, none},
        {"middle, automatic", kOne, {800, 300}, HideMode::Automatic, A::Stay, {}, none},
        {"top and left", kOne, {0, 0}, HideMode::OnRequest, A::Slide, {-300, -400}, {true, false, true, false}},
        {"bottom and right", kOne, {1620, 680}, HideMode::OnRequest, A::Slide, {1920, 1080}, {false, true, false, true}},
        {"top only", kOne, {500, -10}, HideMode::Automatic, A::Slide, {500, -400}, T},
        {"right only", kOne, {1620, 500}, HideMode::Automatic, A::Slide, {1920, 500}, R},
        {"parked at the top, docked left too", kOne, {0, -400}, HideMode::Automatic, A::Stay, {-300, -400},
         {true, false, true, false}},
        {"wider than the screen", kOne, {0, 200}, HideMode::Automatic, A::Slide, {-300, 200}, L},
        // Two monitors side by side: the primary's left edge leads onto the other one.
        {"between side-by-side monitors", kSideBySide, {0, 100}, HideMode::OnRequest, A::HideWindow, {}, none},
        {"left of the left monitor", kSideBySide, {-1280, 100}, HideMode::Automatic, A::Slide, {-1580, 100}, L},
        // A smaller second monitor: its bottom lies inside the virtual rectangle, over a gap.
        {"bottom of the small monitor", kSmallSecond, {1910, 320}, HideMode::OnRequest, A::HideWindow, {}, none},
        {"the small one's right", kSmallSecond, {2900, 100}, HideMode::Automatic, A::Slide, {3200, 100}, R},
        {"the primary's bottom", kSmallSecond, {1000, 680}, HideMode::Automatic, A::Slide, {1000, 1080}, B},
        {"the left monitor's bottom, above the primary's", kSideBySide, {-1280, 624}, HideMode::Automatic,
         A::Slide, {-1580, 624}, L},
        // Stacked monitors: the shared edge is no edge.
        {"over the shared edge", kStacked, {100, 680}, HideMode::OnRequest, A::HideWindow, {}, none},
        {"top of the upper one", kStacked, {100, 0}, HideMode::Automatic, A::Slide, {100, -400}, T},
        {"bottom of the lower one", kStacked, {100, 1760}, HideMode::Automatic, A::Slide, {100, 2160}, B},
    };
    for (const Case& c : cases) {
        Box panel = PanelAt(c.at.x, c.at.y);
        if (std::string_view(c.what) == "wider than the screen") panel.width = 2000;
        const HidePlan plan = PlanHide(panel, DockFrameFor(panel, c.monitors), c.mode);
        EXPECT_EQ(plan.action, c.action) << c.what;
        EXPECT_EQ(plan.hidden, c.hidden) << c.what;
        if (c.action == A::Slide) {
            Point target = c.target;
            if (panel.width != W) target.x = -panel.width;
            EXPECT_EQ(plan.target, target) << c.what;
        }
    }
}

TEST(PanelDocking, ShowingBringsThePanelBackInsideTheOuterEdgesOnly) {
    struct Case { const char* what; const Monitors& monitors; Point at; std::optional<Point> target; };
    const Case cases[] = {
        {"parked left", kOne, {-300, 100}, Point{0, 100}},
        {"parked at the top", kOne, {500, -400}, Point{500, 0}},
        {"parked at the bottom", kOne, {500, 1080}, Point{500, 680}},
        {"parked in the corner", kOne, {-300, -400}, Point{0, 0}},
        {"sticking out right", kOne, {1700, 200}, Point{1620, 200}},
        {"on the screen", kOne, {800, 300}, std::nullopt},
        {"across side-by-side monitors", kSideBySide, {-100, 100}, std::nullopt},
        {"parked beyond the small monitor's right", kSmallSecond, {3200, 100}, Point{2900, 100}},
    };
    for (const Case& c : cases) {
        const Box panel = PanelAt(c.at.x, c.at.y);
        EXPECT_EQ(ShowTarget(panel, DockFrameFor(panel, c.monitors)), c.target) << c.what;
        EXPECT_EQ(WhollyOnScreen(panel, DockFrameFor(panel, c.monitors)), !c.target.has_value()) << c.what;
    }
}

TEST(PanelDocking, ThePointerParksAndFetchesThePanelWithFiveAndFifteenPixelsOfSlack) {
    struct Case { const char* what; Point at; Point pointer; AutoHideStep step; };
    const Case cases[] = {
        {"parked, the pointer at the edge", {-300, 100}, {0, 300}, AutoHideStep::Show},
        {"parked, 5 pixels away", {-300, 100}, {5, 300}, AutoHideStep::Show},
        {"parked, 10 pixels away", {-300, 100}, {10, 300}, AutoHideStep::Nothing},
        {"parked, the pointer above its span", {-300, 100}, {0, 90}, AutoHideStep::Nothing},
        {"docked, the pointer over it", {0, 100}, {150, 300}, AutoHideStep::Nothing},
        {"docked, 10 pixels right of it", {0, 100}, {310, 300}, AutoHideStep::Nothing},
        {"docked, 15 pixels right of it", {0, 100}, {315, 300}, AutoHideStep::Park},
        {"in the middle, the pointer far away", {800, 300}, {10, 10}, AutoHideStep::Nothing},
    };
    for (const Case& c : cases) {
        const Box panel = PanelAt(c.at.x, c.at.y);
        EXPECT_EQ(StepAutoHide(panel, c.pointer, DockFrameFor(panel, kOne)), c.step) << c.what;
    }
}

TEST(PanelDocking, SlidesFollowTheirPathByTheTimeElapsed) {
    const Point from{0, 100}, to{-300, 100};
    struct Case { int ms; Point at; };
    for (const Case& c : {Case{0, {0, 100}}, Case{10, {-25, 100}}, Case{55, {-125, 100}}, Case{109, {-250, 100}},
                          Case{110, {-300, 100}}, Case{200, {-300, 100}}})
        EXPECT_EQ(SlidePosition(from, to, c.ms, true), c.at) << c.ms;
    EXPECT_EQ(SlidePosition(from, to, 0, false), to) << "without animation, one move";
}

TEST(PanelDocking, FollowingThePointerAndChangingDisplaysKeepThePanelWithinReach) {
    EXPECT_EQ(FollowMouse(PanelAt(0, 0), {1910, 1070}, kOne), (Point{1620, 680}));
    EXPECT_EQ(FollowMouse(PanelAt(0, 0), {-10, 10}, kSideBySide), (Point{-300, 0})) << "on the pointer's monitor";
    EXPECT_EQ(FollowMouse(PanelAt(0, 0), {960, 540}, kOne), (Point{810, 340}));

    const Monitors smaller = {{0, 0, 1280, 1024}};
    EXPECT_EQ(AfterDisplayChange(PanelAt(1920, 100), {false, true, false, false}, smaller), (Point{1280, 100}))
        << "parked right again at the new edge";
    EXPECT_EQ(AfterDisplayChange(PanelAt(-300, 900), {true, false, false, false}, smaller), (Point{-300, 624}))
        << "parked left, kept within the monitor's height";
    EXPECT_EQ(AfterDisplayChange(PanelAt(-1000, 100), {}, kOne), (Point{0, 100})) << "its monitor went away";
    EXPECT_EQ(AfterDisplayChange(PanelAt(500, 100), {}, kOne), (Point{500, 100}));
    EXPECT_EQ(KeptOnScreen(PanelAt(1700, -50), {0, 0, 1920, 1080}), (Point{1620, 0}));
}

}  // namespace
}  // namespace mivra
