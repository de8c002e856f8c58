#pragma once
// The timer ticks a program's message loop handled, counted for a benchmark
// in a block of shared memory that the benchmark makes (see BenchSignals).
// Header-only: the benchmark's baseline program counts into it too.

#include <windows.h>

namespace mivra::win {

struct BenchTimerTicks {
    static constexpr int kIds = 8;
    struct ById {
        UINT_PTR id;
        LONG count;
    };

    volatile LONG attached;  // the program has opened the block
    volatile LONG total;     // WM_TIMER messages of every id, callbacks included
    ById byId[kIds];         // the first kIds ids seen
    volatile LONG otherIds;  // ticks of any later id

    // Called by the loop for every message it takes from the queue.
    void Count(const MSG& msg) {
        if (msg.message != WM_TIMER) return;
        InterlockedIncrement(&total);
        for (ById& slot : byId) {
            if (slot.count == 0) slot.id = msg.wParam;
            if (slot.id == msg.wParam) {
                InterlockedIncrement(&slot.count);
                return;
            }
        }
        InterlockedIncrement(&otherIds);
    }
};

}  // namespace mivra::win
