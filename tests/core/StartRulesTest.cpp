#include "items/StartRules.h"

#include <gtest/gtest.h>

#include <string>

namespace mivra {
namespace {

// Writes down the steps in the order they were taken.
class RecordedSteps : public StartSteps {
public:
    RecordedSteps(bool starts, bool sortChanges) : starts_(starts), sortChanges_(sortChanges) {}
    void HidePanel() override { taken += "hide "; }
    bool Start() override {
        taken += "start ";
        return starts_;
    }
    bool SortByCount() override {
        taken += "sort ";
        return sortChanges_;
    }
    void Save() override { taken += "save "; }
    std::string taken;

private:
    bool starts_, sortChanges_;
};

TEST(StartRules, HideBeforeAndSortAndSaveAfterAStart) {
    struct Case {
        bool executeHide, searching, sortByCount, commandMode, starts;
        std::string taken;
        bool reordered;
    };
    const Case cases[] = {
        {false, false, false, false, true, "start save ", false},
        {true, false, false, false, true, "hide start save ", false},
        {true, true, false, false, true, "start save ", false},  // the search box hides the panel its own way
        {true, false, false, false, false, "hide start ", false},  // hidden before the target is looked at
        {false, false, true, false, true, "start sort save ", true},
        {false, true, true, false, true, "start sort save ", true},
        {false, false, true, true, true, "start save ", false},  // command mode keeps the found order
        {false, false, true, false, false, "start ", false},     // nothing started: nothing counted or saved
    };
    for (const Case& c : cases) {
        RecordedSteps steps(c.starts, true);
        const StartOutcome outcome =
            StartWithRules({c.executeHide, c.searching, c.sortByCount, c.commandMode}, steps);
        EXPECT_EQ(steps.taken, c.taken) << c.taken;
        EXPECT_EQ(outcome.started, c.starts) << c.taken;
        EXPECT_EQ(outcome.reordered, c.reordered) << c.taken;
    }
    RecordedSteps unchanged(true, false);
    EXPECT_FALSE(StartWithRules({false, false, true, false}, unchanged).reordered) << "a sort that changed nothing";
}

}  // namespace
}  // namespace mivra
