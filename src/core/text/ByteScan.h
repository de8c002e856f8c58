#pragma once
// Searches over long runs of ANSI bytes, sixteen bytes at a time where the
// processor has SSE2 (every x86-64 one), eight elsewhere. A group line of
// the data section runs to many kilobytes, and the C library's searches go
// byte by byte on some platforms.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mivra::scan {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ull;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

inline std::uint64_t Load8(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// Nonzero when some byte of `word` is zero.
constexpr std::uint64_t ZeroByteIn(std::uint64_t word) { return (word - kOnes) & ~word & kHighBits; }
constexpr std::uint64_t ByteIn(std::uint64_t word, unsigned char b) { return ZeroByteIn(word ^ (kOnes * b)); }

struct Stop {
    size_t at;         // the first stop byte from the start on, or the end
    bool high = false; // a byte of 0x80 or above lies before it
    bool nul = false;  // a NUL lies before it
};

// The first byte from `from` on that is one of `Stops`.
template <unsigned char... Stops>
Stop FindFirst(std::string_view bytes, size_t from) {
    const char* p = bytes.data();
    const size_t n = bytes.size();
    size_t i = from;
    bool high = false, nul = false;
#if defined(__SSE2__)
    __m128i highs = _mm_setzero_si128(), zeros = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i hits = (_mm_cmpeq_epi8(block, _mm_set1_epi8(static_cast<char>(Stops))) | ...);
        if (_mm_movemask_epi8(hits) != 0) break;
        highs = _mm_or_si128(highs, block);
        zeros = _mm_or_si128(zeros, _mm_cmpeq_epi8(block, _mm_setzero_si128()));
    }
    high = _mm_movemask_epi8(highs) != 0;
    nul = _mm_movemask_epi8(zeros) != 0;
#else
    std::uint64_t highs = 0, zeros = 0;
    for (; i + 8 <= n; i += 8) {
        const std::uint64_t word = Load8(p + i);
        if ((ByteIn(word, Stops) | ...)) break;
        highs |= word;
        zeros |= ZeroByteIn(word);
    }
    high = (highs & kHighBits) != 0;
    nul = zeros != 0;
#endif
    for (; i < n; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        if (((c == Stops) || ...)) break;
        high = high || c >= 0x80;
        nul = nul || c == 0;
    }
    return {i, high, nul};
}

// Whether every byte is below 0x80.
inline bool IsAscii(std::string_view bytes) {
    std::uint64_t high = 0;
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) high |= Load8(bytes.data() + i);
    for (; i < bytes.size(); ++i) high |= static_cast<unsigned char>(bytes[i]);
    return (high & kHighBits) == 0;
}

}  // namespace mivra::scan
