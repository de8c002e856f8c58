#include "MessagePump.h"

#include <windows.h>

namespace mivra::test {

void HandleWaitingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Pump() {
    for (int round = 0; round < 5; ++round) {
        HandleWaitingMessages();
        // Lets other threads (the window manager's, Wine's) post what follows.
        Sleep(5);
    }
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (true) {
        Pump();
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
    }
}

}  // namespace mivra::test
