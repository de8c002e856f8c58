#pragma once
// What comes before and after starting an item, the same for an item of a
// group and for a search result: the panel hides first when asked to (before
// the target is even looked at), and a start that happened is counted, may
// re-sort its list by launch count, and is saved.

namespace mivra {

struct StartOptions {
    bool executeHide = false;  // hide the panel when an item starts
    bool searching = false;    // the search box is shown: it hides the panel its own way
    bool sortByCount = false;
    bool commandMode = false;  // the list stays in the order it was found in
};

// The steps a start is made of, carried out by the caller.
class StartSteps {
public:
    virtual ~StartSteps() = default;
    virtual void HidePanel() = 0;
    // Starts the item and counts it; false when nothing was started.
    virtual bool Start() = 0;
    // Sorts the item's list by launch count; whether its order may have changed.
    virtual bool SortByCount() = 0;
    virtual void Save() = 0;
};

struct StartOutcome {
    bool started = false;
    bool reordered = false;  // the list was sorted after the start
};

StartOutcome StartWithRules(const StartOptions& options, StartSteps& steps);

}  // namespace mivra
