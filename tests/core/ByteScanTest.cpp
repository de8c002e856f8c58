#include "text/ByteScan.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

namespace mivra {
namespace {

// Texts of every length up to a few blocks past the widest step, so that
// each block size meets a stop at every place, before and after the tail.
constexpr size_t kMostLength = 40;
// Room written past the end would show in these.
constexpr size_t kGuard = 16;
constexpr char kGuardByte = '\x5a';

template <typename Unit>
bool IsAsciiUnit(Unit u) {
    return static_cast<std::make_unsigned_t<Unit>>(u) < 0x80;
}

template <typename Unit>
size_t PlainAsciiPrefix(const Unit* in, size_t n) {
    size_t i = 0;
    while (i < n && IsAsciiUnit(in[i])) ++i;
    return i;
}

// Units that are not ASCII, with ones whose bytes look like ASCII or a quote
// taken one by one.
template <typename Unit>
std::vector<Unit> NonAsciiUnits() {
    std::vector<Unit> units = {static_cast<Unit>(0x80), static_cast<Unit>(0xFF)};
    if constexpr (sizeof(Unit) >= 2) {
        units.push_back(static_cast<Unit>(0x122));
        units.push_back(static_cast<Unit>(0x2241));
        units.push_back(static_cast<Unit>(0xFFFF));
    }
    if constexpr (sizeof(Unit) >= 4) {
        units.push_back(static_cast<Unit>(0x10022));
        units.push_back(static_cast<Unit>(0xFFFFFFFF));  // negative where wchar_t is signed
    }
    return units;
}

// ASCII text of `length` units, other than the quote.
template <typename Unit>
std::basic_string<Unit> AsciiText(size_t length) {
    std::basic_string<Unit> text;
    for (size_t i = 0; i < length; ++i) text += static_cast<Unit>('a' + i % 26);
    return text;
}

// Texts of every length with a unit that is not ASCII at every place, or
// none: `copy` stops where a plain loop does, copies the units before, and
// writes nothing past the length.
template <typename From, typename To, typename Copy>
void CheckAsciiPrefix(Copy copy) {
    const To guard = static_cast<To>(kGuardByte);
    for (size_t length = 0; length <= kMostLength; ++length) {
        for (const From other : NonAsciiUnits<From>()) {
            for (size_t at = 0; at <= length; ++at) {  // at == length: all ASCII
                std::basic_string<From> text = AsciiText<From>(length);
                if (at < length) text[at] = other;
                std::basic_string<To> out(length + kGuard, guard);
                const size_t done = copy(text.data(), text.size(), out.data());
                const std::string context = "from width " + std::to_string(sizeof(From)) + " to " +
                                            std::to_string(sizeof(To)) + ", length " + std::to_string(length) +
                                            ", other at " + std::to_string(at);
                ASSERT_EQ(done, PlainAsciiPrefix(text.data(), text.size())) << context;
                for (size_t i = 0; i < done; ++i) ASSERT_EQ(out[i], static_cast<To>(text[i])) << context;
                for (size_t i = length; i < out.size(); ++i) ASSERT_EQ(out[i], guard) << context;
            }
        }
    }
}

template <typename Unit>
void CheckNarrow() {
    CheckAsciiPrefix<Unit, char>(
        [](const Unit* in, size_t n, char* out) { return scan::NarrowAsciiPrefix(in, n, out); });
}

template <typename Unit>
void CheckWiden() {
    CheckAsciiPrefix<char, Unit>(
        [](const char* in, size_t n, Unit* out) { return scan::WidenAsciiPrefix(in, n, out); });
}

template <typename Char>
void CheckFindQuote() {
    std::vector<Char> fillers = {static_cast<Char>('a')};
    for (const Char other : NonAsciiUnits<Char>()) fillers.push_back(other);
    for (size_t length = 0; length <= kMostLength; ++length) {
        for (const Char filler : fillers) {
            for (size_t at = 0; at <= length; ++at) {  // at == length: no quote
                std::basic_string<Char> text(length, filler);
                if (at < length) text[at] = Char('"');
                // A second quote further on must not be the one found.
                if (at + 3 < length) text[at + 3] = Char('"');
                const std::basic_string_view<Char> view(text);
                for (size_t from = 0; from <= length; ++from) {
                    size_t expected = from;
                    while (expected < length && text[expected] != Char('"')) ++expected;
                    ASSERT_EQ(scan::FindQuote(view, from), expected)
                        << "width " << sizeof(Char) << ", length " << length << ", quote at " << at << ", from " << from;
                }
            }
        }
    }
}

TEST(ByteScan, NarrowsTheAsciiStartOfEveryWidth) {
    CheckNarrow<char16_t>();
    CheckNarrow<wchar_t>();
    CheckNarrow<char32_t>();
}

TEST(ByteScan, WidensTheAsciiStartToEveryWidth) {
    CheckWiden<char16_t>();
    CheckWiden<wchar_t>();
    CheckWiden<char32_t>();
}

TEST(ByteScan, FindsTheFirstQuoteInEveryWidth) {
    CheckFindQuote<char>();
    CheckFindQuote<char16_t>();
    CheckFindQuote<wchar_t>();
    CheckFindQuote<char32_t>();
}

}  // namespace
}  // namespace mivra
