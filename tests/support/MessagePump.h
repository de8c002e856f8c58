#pragma once
// Handling this thread's messages in tests and benchmarks, as the program's
// message loop would.

#include <chrono>
#include <functional>

namespace mivra::test {

// Handles what is waiting, as the message loop would, without waiting itself.
void HandleWaitingMessages();

// Handles every message that is waiting, a few rounds, so that messages
// posted while handling are handled too.
void Pump();

// Handles messages until `done` holds; false if it still does not after `timeout`.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(5));

}  // namespace mivra::test
