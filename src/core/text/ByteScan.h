#pragma once
// Scans over long runs of text, sixteen bytes at a time where the processor
// has SSE2 (every x86-64 one), eight or one elsewhere: searches in ANSI
// bytes, the search for quotes in record texts of any character width, and
// the copying of ASCII between bytes and UTF-16. A group line of the data
// section runs to many kilobytes, and the C library's searches go byte by
// byte on some platforms.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

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

// The quotes among the sixteen bytes at `p`, as a mask of one bit per byte
// (a character shows as sizeof(Char) bits in a row).
#if defined(__SSE2__)
template <typename Char>
unsigned QuotesAt(const Char* p) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i hits;
    if constexpr (sizeof(Char) == 1) hits = _mm_cmpeq_epi8(block, _mm_set1_epi8('"'));
    else if constexpr (sizeof(Char) == 2) hits = _mm_cmpeq_epi16(block, _mm_set1_epi16('"'));
    else hits = _mm_cmpeq_epi32(block, _mm_set1_epi32('"'));
    return static_cast<unsigned>(_mm_movemask_epi8(hits));
}
#endif

// The first quote of `text` from `from` on, or text.size().
template <typename Char>
size_t FindQuote(std::basic_string_view<Char> text, size_t from) {
    const Char* p = text.data();
    const size_t n = text.size();
    size_t i = from;
#if defined(__SSE2__)
    constexpr size_t kUnits = 16 / sizeof(Char);
    for (; i + kUnits <= n; i += kUnits)
        if (const unsigned mask = QuotesAt(p + i); mask != 0)
            return i + static_cast<size_t>(std::countr_zero(mask)) / sizeof(Char);
#endif
    while (i < n && p[i] != Char('"')) ++i;
    return i;
}

// Copies the ASCII start of the `n` units at `in` to `out` as bytes and
// returns how many units that is. `out` must have room for `n` bytes: a
// block is stored whole even when only its start is ASCII, since a caller
// writes over the rest next. Blocks of UTF-16 go eight units at a time.
template <typename Unit>
size_t NarrowAsciiPrefix(const Unit* in, size_t n, char* out) {
    size_t i = 0;
#if defined(__SSE2__)
    if constexpr (sizeof(Unit) == 2) {
        for (; i + 8 <= n; i += 8) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
            const auto ascii = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(block, _mm_set1_epi16(-0x80)), _mm_setzero_si128())));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(block, block));
            if (ascii != 0xFFFF) return i + static_cast<size_t>(std::countr_zero(~ascii)) / 2;
        }
    }
#endif
    for (; i < n && static_cast<std::make_unsigned_t<Unit>>(in[i]) < 0x80; ++i) out[i] = static_cast<char>(in[i]);
    return i;
}

// Copies the ASCII start of the `n` bytes at `in` to `out` as units and
// returns how many bytes that is. `out` must have room for `n` units, as
// above. Bytes go sixteen at a time into UTF-16.
template <typename Unit>
size_t WidenAsciiPrefix(const char* in, size_t n, Unit* out) {
    size_t i = 0;
#if defined(__SSE2__)
    if constexpr (sizeof(Unit) == 2) {
        for (; i + 16 <= n; i += 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
            const auto high = static_cast<unsigned>(_mm_movemask_epi8(block));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(block, _mm_setzero_si128()));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(block, _mm_setzero_si128()));
            if (high != 0) return i + static_cast<size_t>(std::countr_zero(high));
        }
    }
#endif
    for (; i < n && static_cast<unsigned char>(in[i]) < 0x80; ++i) out[i] = static_cast<Unit>(in[i]);
    return i;
}

}  // namespace mivra::scan
