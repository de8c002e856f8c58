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

}  // namespace mivra::bench
