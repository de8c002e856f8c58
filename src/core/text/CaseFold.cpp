#include "text/CaseFold.h"

#include <cstdint>
#include <iterator>

namespace mivra {
namespace {

// Runs of characters that fold by the same offset; with a stride of 2 only
// every other one does (upper and lower case alternate in those blocks).
// From the C and S entries of Unicode's CaseFolding.txt.
struct Run {
    std::uint32_t first, last;
    std::int32_t delta;
    std::uint32_t stride;
};

constexpr Run kRuns[] = {
    {0x00B5, 0x00B5, 775, 1},   // micro sign -> Greek mu
    {0x00C0, 0x00D6, 32, 1},   {0x00D8, 0x00DE, 32, 1},
    {0x0100, 0x012E, 1, 2},    {0x0132, 0x0136, 1, 2},    {0x0139, 0x0147, 1, 2},
    {0x014A, 0x0176, 1, 2},    {0x0178, 0x0178, -121, 1}, {0x0179, 0x017D, 1, 2},
    {0x017F, 0x017F, -268, 1},  // long s -> s
    {0x0370, 0x0372, 1, 2},    {0x0376, 0x0376, 1, 1},    {0x037F, 0x037F, 116, 1},
    {0x0386, 0x0386, 38, 1},   {0x0388, 0x038A, 37, 1},   {0x038C, 0x038C, 64, 1},
    {0x038E, 0x038F, 63, 1},   {0x0391, 0x03A1, 32, 1},   {0x03A3, 0x03AB, 32, 1},
    {0x03C2, 0x03C2, 1, 1},     // final sigma
    {0x03CF, 0x03CF, 8, 1},    {0x03D0, 0x03D0, -30, 1},  {0x03D1, 0x03D1, -25, 1},
    {0x03D5, 0x03D5, -15, 1},  {0x03D6, 0x03D6, -22, 1},  {0x03D8, 0x03EE, 1, 2},
    {0x03F0, 0x03F0, -54, 1},  {0x03F1, 0x03F1, -48, 1},  {0x03F4, 0x03F4, -60, 1},
    {0x03F5, 0x03F5, -64, 1},  {0x03F7, 0x03F7, 1, 1},    {0x03F9, 0x03F9, -7, 1},
    {0x03FA, 0x03FA, 1, 1},    {0x03FD, 0x03FF, -130, 1},
    {0x0400, 0x040F, 80, 1},   {0x0410, 0x042F, 32, 1},   {0x0460, 0x0480, 1, 2},
    {0x048A, 0x04BE, 1, 2},    {0x04C0, 0x04C0, 15, 1},   {0x04C1, 0x04CD, 1, 2},
    {0x04D0, 0x052E, 1, 2},
    {0xFF21, 0xFF3A, 32, 1},   // fullwidth A-Z
};

}  // namespace

wchar_t FoldCase(wchar_t c) {
    const auto u = static_cast<std::uint32_t>(c);
    if (u < 0x80) return (u >= 'A' && u <= 'Z') ? wchar_t(u + 32) : c;
    if (u < kRuns[0].first || u > std::prev(std::end(kRuns))->last) return c;
    // Binary search for the last run starting at or before u.
    const Run* lo = std::begin(kRuns);
    const Run* hi = std::end(kRuns);
    while (hi - lo > 1) {
        const Run* mid = lo + (hi - lo) / 2;
        if (mid->first <= u) lo = mid; else hi = mid;
    }
    if (u > lo->last || (u - lo->first) % lo->stride != 0) return c;
    return static_cast<wchar_t>(static_cast<std::int32_t>(u) + lo->delta);
}

bool EqualsFolded(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

}  // namespace mivra
