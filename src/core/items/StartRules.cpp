#include "items/StartRules.h"

namespace mivra {

StartOutcome StartWithRules(const StartOptions& options, StartSteps& steps) {
    if (options.executeHide && !options.searching) steps.HidePanel();
    StartOutcome outcome;
    outcome.started = steps.Start();
    if (!outcome.started) return outcome;  // nothing happened: nothing to save
    outcome.reordered = options.sortByCount && !options.commandMode && steps.SortByCount();
    steps.Save();
    return outcome;
}

}  // namespace mivra
