#pragma once
// Tells a benchmark when the first group is on the screen. With the
// environment variable MIVRA_PAINTED_EVENT set to a name, the program sets
// the event "<name>.group" once the panel, its group bar and the item panel
// have nothing left to paint, and "<name>.icons" once every icon shown is
// drawn as well. The benchmark makes the events; without the variable
// nothing is looked at after the first message.

#include <windows.h>

#include <string>

#include "base/Unique.h"

namespace mivra::win {

class MainPanel;

class PaintedSignal {
public:
    // Reads the variable; does nothing from then on without it.
    PaintedSignal();
    // Called after each message: sets the events whose moment has come.
    void Check(const MainPanel* panel);

private:
    UniqueHandle group_;
    UniqueHandle icons_;
};

}  // namespace mivra::win
