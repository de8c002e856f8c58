#pragma once
// Tells whether this executable (the same path) is already running, and asks
// the running instance to show its panel instead of starting a second one.

#include <string_view>

#include "base/Unique.h"

namespace mivra::win {

class SingleInstance {
public:
    // Marks this executable as running; the mark lasts as long as the object.
    explicit SingleInstance(std::wstring_view programFile);

    bool OtherWasRunning() const { return otherWasRunning_; }

private:
    UniqueHandle mark_;
    bool otherWasRunning_ = false;
};

// Sends the show-panel request to `panel` (the handle the running instance
// stored) and answers whether it took over. A handle that is stale, belongs
// to another program's window or hangs gives false; a hung one within 10 s
// (MIVRA_HANDOVER_TIMEOUT_MS, at most 10,000, makes that shorter).
bool HandOverTo(HWND panel);

}  // namespace mivra::win
