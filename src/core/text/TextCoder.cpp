#include "text/TextCoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>  // _byteswap_uint64
#include <cstring>

namespace mivra {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
// The record coder's alphabet: the same with every letter's case swapped, so
// that encoding needs no second pass.
constexpr char kSwappedAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+/";

// Sextet of every byte value. Anything outside the alphabet, NUL included,
// reads as 63: stored records may have been mangled and must still decode.
constexpr std::array<std::uint8_t, 256> SextetTable(const char* alphabet) {
    std::array<std::uint8_t, 256> table{};
    for (auto& v : table) v = 63;
    for (std::uint8_t i = 0; i < 64; ++i) table[static_cast<unsigned char>(alphabet[i])] = i;
    return table;
}
constexpr auto kPlainSextets = SextetTable(kAlphabet);
constexpr auto kSwappedSextets = SextetTable(kSwappedAlphabet);

template <typename Char>
std::uint32_t SextetOf(const std::array<std::uint8_t, 256>& table, Char c) {
    const auto code = static_cast<std::make_unsigned_t<Char>>(c);
    return code < 256 ? table[code] : 63;
}

template <typename Out>
void AppendBase64(std::string_view bytes, const char* alphabet, Out& out) {
    using OutChar = typename Out::value_type;
    const size_t start = out.size();
    out.resize(start + (bytes.size() + 2) / 3 * 4);
    OutChar* o = out.data() + start;
    const auto* in = reinterpret_cast<const std::uint8_t*>(bytes.data());
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t v = std::uint32_t(in[i]) << 16 | std::uint32_t(in[i + 1]) << 8 | in[i + 2];
        *o++ = OutChar(alphabet[v >> 18]);
        *o++ = OutChar(alphabet[(v >> 12) & 63]);
        *o++ = OutChar(alphabet[(v >> 6) & 63]);
        *o++ = OutChar(alphabet[v & 63]);
    }
    if (const size_t rest = bytes.size() - i; rest > 0) {
        std::uint32_t v = std::uint32_t(in[i]) << 16;
        if (rest == 2) v |= std::uint32_t(in[i + 1]) << 8;
        *o++ = OutChar(alphabet[v >> 18]);
        *o++ = OutChar(alphabet[(v >> 12) & 63]);
        *o++ = rest == 2 ? OutChar(alphabet[(v >> 6) & 63]) : OutChar('=');
        *o++ = OutChar('=');
    }
}

// The record coder's two characters for every twelve bits, so that three
// bytes take two look-ups.
using CharPair = std::array<char, 2>;
constexpr std::array<CharPair, 4096> PairTable(const char* alphabet) {
    std::array<CharPair, 4096> table{};
    for (size_t v = 0; v < table.size(); ++v) table[v] = {alphabet[v >> 6], alphabet[v & 63]};
    return table;
}
constexpr auto kSwappedPairs = PairTable(kSwappedAlphabet);

// The pair for twelve bits, as the low sixteen bits of a number that is
// stored little-endian.
std::uint64_t PairBits(std::uint64_t twelveBits) {
    std::uint16_t pair;
    std::memcpy(&pair, kSwappedPairs[twelveBits].data(), 2);
    return pair;
}

// The eight bytes at `p` as a number whose highest byte is the first.
std::uint64_t BigEndianAt(const unsigned char* p) {
    static_assert(std::endian::native == std::endian::little);
    std::uint64_t w;
    std::memcpy(&w, p, 8);
#if defined(_MSC_VER) && !defined(__clang__)
    return _byteswap_uint64(w);
#else
    return __builtin_bswap64(w);
#endif
}

// Decodes the characters before the first "=" into floor(n*3/4) bytes.
template <typename Char>
void AppendDecodedBase64(std::basic_string_view<Char> text, const std::array<std::uint8_t, 256>& table,
                         std::string& out) {
    const size_t n = std::min(text.find(Char('=')), text.size());
    const size_t start = out.size();
    out.resize(start + n / 4 * 3 + (n % 4 >= 2 ? n % 4 - 1 : 0));
    char* o = out.data() + start;
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        const std::uint32_t v = SextetOf(table, text[i]) << 18 | SextetOf(table, text[i + 1]) << 12 |
                                SextetOf(table, text[i + 2]) << 6 | SextetOf(table, text[i + 3]);
        *o++ = char(v >> 16);
        *o++ = char(v >> 8);
        *o++ = char(v);
    }
    if (const size_t rest = n - i; rest >= 2) {
        std::uint32_t v = SextetOf(table, text[i]) << 18 | SextetOf(table, text[i + 1]) << 12;
        if (rest == 3) v |= SextetOf(table, text[i + 2]) << 6;
        *o++ = char(v >> 16);
        if (rest == 3) *o++ = char(v >> 8);
    }
}

// The record coder's decoding tables for a character in each place of a group
// of four: its sextet moved into place, or kNotInAlphabet.
constexpr std::uint32_t kNotInAlphabet = 1u << 24;
using PlaceTable = std::array<std::uint32_t, 256>;
constexpr PlaceTable PlaceTableOf(unsigned shift) {
    PlaceTable table{};
    for (auto& v : table) v = kNotInAlphabet;
    for (std::uint32_t i = 0; i < 64; ++i) table[static_cast<unsigned char>(kSwappedAlphabet[i])] = i << shift;
    return table;
}
constexpr PlaceTable kPlace0 = PlaceTableOf(18), kPlace1 = PlaceTableOf(12), kPlace2 = PlaceTableOf(6),
                     kPlace3 = PlaceTableOf(0);

}  // namespace

std::wstring EncodeText(const AnsiCodePage& codePage, std::wstring_view text, bool* lossy) {
    std::wstring out;
    AppendBase64(codePage.ToAnsi(text, lossy), kSwappedAlphabet, out);
    return out;
}

std::wstring DecodeText(const AnsiCodePage& codePage, std::wstring_view encoded) {
    std::string bytes;
    AppendDecodedBase64(encoded, kSwappedSextets, bytes);
    return codePage.FromAnsi(bytes);
}

size_t EncodeBytesTo(std::string_view ansiBytes, char* out) {
    const auto* in = reinterpret_cast<const unsigned char*>(ansiBytes.data());
    const size_t n = ansiBytes.size();
    char* o = out;
    size_t i = 0;
    // Six bytes, eight characters, one store at a time (the load reads two
    // bytes more, which must be there).
    for (; i + 8 <= n; i += 6) {
        const std::uint64_t v = BigEndianAt(in + i);
        const std::uint64_t chars = PairBits(v >> 52) | PairBits((v >> 40) & 0xFFF) << 16 |
                                    PairBits((v >> 28) & 0xFFF) << 32 | PairBits((v >> 16) & 0xFFF) << 48;
        std::memcpy(o, &chars, 8);
        o += 8;
    }
    for (; i + 3 <= n; i += 3) {
        const std::uint32_t v = std::uint32_t(in[i]) << 16 | std::uint32_t(in[i + 1]) << 8 | in[i + 2];
        std::memcpy(o, kSwappedPairs[v >> 12].data(), 2);
        std::memcpy(o + 2, kSwappedPairs[v & 0xFFF].data(), 2);
        o += 4;
    }
    if (const size_t rest = n - i; rest > 0) {
        std::uint32_t v = std::uint32_t(in[i]) << 16;
        if (rest == 2) v |= std::uint32_t(in[i + 1]) << 8;
        *o++ = kSwappedAlphabet[v >> 18];
        *o++ = kSwappedAlphabet[(v >> 12) & 63];
        *o++ = rest == 2 ? kSwappedAlphabet[(v >> 6) & 63] : '=';
        *o++ = '=';
    }
    return static_cast<size_t>(o - out);
}

DecodedPrefix DecodePrefix(std::string_view text, char* out) {
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    auto* o = reinterpret_cast<unsigned char*>(out);
    std::uint32_t any = 0;
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        const std::uint32_t v = kPlace0[in[i]] | kPlace1[in[i + 1]] | kPlace2[in[i + 2]] | kPlace3[in[i + 3]];
        if (v & kNotInAlphabet) break;
        any |= v;
        o[0] = static_cast<unsigned char>(v >> 16);
        o[1] = static_cast<unsigned char>(v >> 8);
        o[2] = static_cast<unsigned char>(v);
        o += 3;
    }
    // At most three more characters of the alphabet, then the padding.
    size_t end = i;
    while (end < n && !(kPlace3[in[end]] & kNotInAlphabet)) ++end;
    if (const size_t rest = end - i; rest >= 2) {
        std::uint32_t v = kPlace0[in[i]] | kPlace1[in[i + 1]];
        if (rest == 3) v |= kPlace2[in[i + 2]];
        any |= v & (rest == 3 ? 0xFFFF00u : 0xFF0000u);
        *o++ = static_cast<unsigned char>(v >> 16);
        if (rest == 3) *o++ = static_cast<unsigned char>(v >> 8);
    }
    while (end < n && in[end] == '=') ++end;
    return {end, static_cast<size_t>(o - reinterpret_cast<unsigned char*>(out)), (any & 0x808080u) == 0};
}

std::vector<std::uint8_t> DecodeBytes(std::wstring_view base64) {
    std::string bytes;
    AppendDecodedBase64(base64, kPlainSextets, bytes);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::wstring GetBetween(std::wstring_view text, std::wstring_view prefix, std::wstring_view suffix) {
    if (suffix.empty()) return {};
    const size_t p = text.find(prefix);
    if (p == std::wstring_view::npos) return {};
    const size_t start = p + prefix.size();
    const size_t end = text.find(suffix, start);
    if (end == std::wstring_view::npos) return {};
    return std::wstring(text.substr(start, end - start));
}

}  // namespace mivra
