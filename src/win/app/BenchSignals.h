#pragma once
// Tells a benchmark what it measures. With the environment variable
// MIVRA_BENCH_SIGNALS set to a name, the program opens what the benchmark
// made under that name:
//   "<name>.group"  an event, set once the panel, its group bar and the item
//                   panel have nothing left to paint with the first group;
//   "<name>.icons"  an event, set once every icon shown is drawn as well;
//   "<name>.shown"  an event, set each time the panel, hidden before, is
//                   painted again with every icon shown;
//   "<name>.ticks"  shared memory holding BenchTimerTicks, which counts the
//                   timer messages the loop handles.
// Without the variable nothing is looked at after the first message.

#include <windows.h>

#include "app/BenchTimerTicks.h"
#include "base/Unique.h"

namespace mivra::win {

class MainPanel;

class BenchSignals {
public:
    // Reads the variable; does nothing from then on without it.
    BenchSignals();
    // Called for each message the loop takes, before it is handled (a panel
    // hidden by a sent message is seen hidden here, before the posted message
    // that shows it again).
    void Taken(const MSG& msg, const MainPanel* panel);
    // Called after each message: sets the events whose moment has come.
    void Check(const MainPanel* panel);

private:
    UniqueHandle group_, icons_, shown_;
    UniqueHandle ticksBlock_;
    UniqueView ticksView_;
    BenchTimerTicks* ticks_ = nullptr;
    bool showing_ = false;  // hidden since "shown" was last set
};

}  // namespace mivra::win
