#pragma once
// The clock and the statistic every benchmark reports.

#include <windows.h>

#include <algorithm>
#include <vector>

namespace mivra::bench {

inline double NowMicroseconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1e6 * static_cast<double>(t.QuadPart) / frequency;
}

inline double NowMilliseconds() { return NowMicroseconds() / 1000.0; }

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The steps of one round timed one after another: each lap is the time since
// the last one and goes to the list named, unless the round is a warm-up.
class Laps {
public:
    explicit Laps(bool keep) : keep_(keep), last_(NowMilliseconds()) {}
    void To(std::vector<double>& list) {
        const double now = NowMilliseconds();
        if (keep_) list.push_back(now - last_);
        last_ = now;
    }

private:
    bool keep_;
    double last_;
};

// What one call into the Wine server costs on this machine right now (an
// event reset is one round trip): everything that leans on the server, such
// as window invalidation, scales with it.
inline double ServerRoundTripMicroseconds() {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const double t0 = NowMicroseconds();
    for (int i = 0; i < 1000; ++i) ResetEvent(event);
    const double each = (NowMicroseconds() - t0) / 1000;
    CloseHandle(event);
    return each;
}

}  // namespace mivra::bench
