#include "text/TextCoder.h"

#include <algorithm>

namespace mivra {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr wchar_t SwapAsciiCase(wchar_t c) {
    if (c >= L'A' && c <= L'Z') return wchar_t(c + 32);
    if (c >= L'a' && c <= L'z') return wchar_t(c - 32);
    return c;
}

// Anything outside the alphabet, NUL and non-ASCII included, reads as 63:
// stored records may have been mangled and must still decode to something.
constexpr std::uint32_t SextetOf(wchar_t c) {
    if (c >= L'A' && c <= L'Z') return std::uint32_t(c - L'A');
    if (c >= L'a' && c <= L'z') return std::uint32_t(c - L'a' + 26);
    if (c >= L'0' && c <= L'9') return std::uint32_t(c - L'0' + 52);
    if (c == L'+') return 62;
    return 63;
}

std::wstring Base64(std::string_view bytes) {
    std::wstring out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        std::uint32_t v = std::uint32_t(std::uint8_t(bytes[i])) << 16 |
                          std::uint32_t(std::uint8_t(bytes[i + 1])) << 8 | std::uint8_t(bytes[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6) out += wchar_t(kAlphabet[(v >> shift) & 63]);
    }
    const size_t rest = bytes.size() - i;
    if (rest > 0) {
        std::uint32_t v = std::uint32_t(std::uint8_t(bytes[i])) << 16;
        if (rest == 2) v |= std::uint32_t(std::uint8_t(bytes[i + 1])) << 8;
        out += wchar_t(kAlphabet[(v >> 18) & 63]);
        out += wchar_t(kAlphabet[(v >> 12) & 63]);
        out += rest == 2 ? wchar_t(kAlphabet[(v >> 6) & 63]) : L'=';
        out += L'=';
    }
    return out;
}

// Decodes the characters before the first "=" into floor(n*3/4) bytes; `map`
// is applied to each character first (the case swap of the record coder).
template <typename Map>
std::string DecodeBase64(std::wstring_view text, Map map) {
    const size_t n = std::min(text.find(L'='), text.size());
    std::string out;
    out.reserve(n / 4 * 3 + 2);
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        std::uint32_t v = 0;
        for (size_t k = 0; k < 4; ++k) v = v << 6 | SextetOf(map(text[i + k]));
        out += char(v >> 16);
        out += char(v >> 8);
        out += char(v);
    }
    const size_t rest = n - i;
    if (rest >= 2) {
        std::uint32_t v = 0;
        for (size_t k = 0; k < 4; ++k) v = v << 6 | (k < rest ? SextetOf(map(text[i + k])) : 0);
        out += char(v >> 16);
        if (rest == 3) out += char(v >> 8);
    }
    return out;
}

}  // namespace

std::wstring EncodeText(const AnsiCodePage& codePage, std::wstring_view text, bool* lossy) {
    std::wstring out = Base64(codePage.ToAnsi(text, lossy));
    for (wchar_t& c : out) c = SwapAsciiCase(c);
    return out;
}

std::wstring DecodeText(const AnsiCodePage& codePage, std::wstring_view encoded) {
    return codePage.FromAnsi(DecodeBase64(encoded, SwapAsciiCase));
}

std::vector<std::uint8_t> DecodeBytes(std::wstring_view base64) {
    const auto bytes = DecodeBase64(base64, [](wchar_t c) { return c; });
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
