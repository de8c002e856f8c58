#pragma once
// Getting out of the way of full-screen programs: the panel hides when one
// appears and comes back when it ends, but a panel the user hid stays hidden.

namespace mivra {

class FullScreenHide {
public:
    enum class Action { None, Hide, Show };

    // A full-screen program appeared (true) or went away (false); `enabled`
    // is the FullScreenHide option, `panelShown` whether the panel is on the screen.
    Action OnFullScreen(bool appeared, bool enabled, bool panelShown);
    // The panel was shown for another reason: it is no longer hidden for a full-screen program.
    void PanelShown() { hiddenForFullScreen_ = false; }
    bool HiddenForFullScreen() const { return hiddenForFullScreen_; }

private:
    bool hiddenForFullScreen_ = false;
};

// The periodic idle task, every 10 minutes: what a tick does.
struct IdleTick {
    bool checkForUpdate = false;  // every 15th tick
    bool trimWorkingSet = false;  // every even count, the reset included
};

class IdleTicks {
public:
    IdleTick Next();

private:
    int ticks_ = 0;
};

}  // namespace mivra
