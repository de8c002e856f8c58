#include "text/TextCoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "IconvCodePage.h"

namespace mivra {
namespace {

using test::IconvCodePage;
using namespace std::string_literals;

const IconvCodePage& Cp1252() {
    static const IconvCodePage cp("CP1252");
    return cp;
}

const IconvCodePage& Cp936() {
    static const IconvCodePage cp("CP936");
    return cp;
}

TEST(TextCoder, EncodesToCaseSwappedBase64) {
    struct Case {
        const IconvCodePage& cp;
        std::wstring text, stored;
    };
    const Case cases[] = {
        {Cp1252(), L"", L""},
        {Cp1252(), L"abc", L"ywjJ"},
        {Cp1252(), L"ab", L"ywi="},       // final group of two bytes: one "="
        {Cp1252(), L"a", L"yq=="},        // final group of one byte: two "="
        {Cp1252(), L"Hello, World!", L"sgvSBg8SifDVCMXKiq=="},
        {Cp1252(), L"\u00fb\u00ff", L"+/8="},  // digits, "+" and "/" keep their case
        {Cp1252(), L"\u00dcn\u00efc\u00f8d\u00e9", L"3g7Vy/HK6q=="},
        {Cp936(), L"\u4e2d\u6587", L"1TdoXa=="},
        {Cp936(), L"C:\\Mivra\\\u542f\u52a8.exe", L"qZPCtwL2CMfCXVs2RY5LEgu="},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeText(c.cp, c.text), c.stored);
        EXPECT_EQ(DecodeText(c.cp, c.stored), c.text);
    }
}

TEST(TextCoder, DecodeIsTolerant) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"ywjJ=", L"abc"},
        {L"ywjJ=tail ignored", L"abc"},
        {L"=ywjJ", L""},
        {L"yq", L"a"},      // truncated groups decode what they hold
        {L"ywi", L"ab"},
        {L"ywjJy", L"abc"},  // a lone last character gives no byte
        {L"y", L""},
        {L"ywjJ\n\u00e9!\0"s, L"abc\u00ff\u00ff\u00ff"},  // outside the alphabet: 63
    };
    for (const auto& [stored, text] : cases) EXPECT_EQ(DecodeText(Cp1252(), stored), text) << stored;
}

// The byte forms that the data file's reader and writer use.
TEST(TextCoder, StoredBytes) {
    const std::pair<std::string, std::string> encoded[] = {
        {"", ""}, {"a", "yq=="}, {"ab", "ywi="}, {"abc", "ywjJ"}, {"\xd6\xd0\xce\xc4", "1TdoXa=="},
        {"\xfb\xff", "+/8="}, {std::string("\0\0\0\xff", 4), "aaaa/W=="},
    };
    for (const auto& [bytes, stored] : encoded) {
        std::string out(EncodedSize(bytes.size()), '?');
        EXPECT_EQ(EncodeBytesTo(bytes, out.data()), stored.size());
        EXPECT_EQ(out, stored);
    }
    // Every length, against three bytes at a time by the book.
    const auto byTheBook = [](std::string_view bytes) {
        static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+/";
        std::string text;
        for (size_t i = 0; i < bytes.size(); i += 3) {
            const size_t n = std::min<size_t>(3, bytes.size() - i);
            std::uint32_t v = 0;
            for (size_t k = 0; k < 3; ++k) v = v << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
            for (size_t k = 0; k < 4; ++k) text += k <= n ? kDigits[(v >> (18 - 6 * k)) & 63] : '=';
        }
        return text;
    };
    std::mt19937 random(3);
    std::string bytes;
    for (size_t size = 0; size <= 70; ++size, bytes += static_cast<char>(random())) {
        std::string out(EncodedSize(size), '?');
        out.resize(EncodeBytesTo(bytes, out.data()));
        EXPECT_EQ(out, byTheBook(bytes)) << size;
    }

    // Reading stops at the first character that is not part of a stored form.
    struct Case {
        std::string text;
        size_t read;
        std::string bytes;
        bool ascii;
    };
    const Case decoded[] = {
        {"ywjJ,next", 4, "abc", true},
        {"ywi=,", 4, "ab", true},
        {"yq==", 4, "a", true},
        {"ywjJy@", 5, "abc", true},   // a lone last character gives no byte
        {"yq=c", 3, "a", true},       // nothing of the alphabet after the padding
        {"==x", 2, "", true},
        {"", 0, "", true},
        {"!ywjJ", 0, "", true},
        {"1TdoXa==\r\n", 8, "\xd6\xd0\xce\xc4", false},
        {"ywjJywjJywjJ1Tdo", 16, "abcabcabc\xd6\xd0\xce", false},
    };
    for (const Case& c : decoded) {
        std::string out(DecodedSizeLimit(c.text.size()), '?');
        const DecodedPrefix prefix = DecodePrefix(c.text, out.data());
        EXPECT_EQ(prefix.read, c.read) << c.text;
        EXPECT_EQ(out.substr(0, prefix.written), c.bytes) << c.text;
        EXPECT_EQ(prefix.ascii, c.ascii) << c.text;
    }
}

// The block-wise reader against the definition, a character at a time, on
// long texts with stray characters at every place of a block, the neighbours
// of each range of the alphabet among them.
TEST(TextCoder, DecodePrefixAgreesWithCharacterByCharacter) {
    const std::string alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+/";
    const std::string strays = std::string("@[`{/.:*,=-\x80\xff\x7f ") + '\0';
    const auto sextet = [&](char c) { return static_cast<std::uint32_t>(alphabet.find(c)); };
    std::mt19937 random(11);
    for (int round = 0; round < 4000; ++round) {
        std::string text(random() % 90, 'a');
        for (char& c : text) c = random() % 40 == 0 ? strays[random() % strays.size()] : alphabet[random() % 64];
        size_t end = 0;
        while (end < text.size() && alphabet.find(text[end]) != std::string::npos && text[end] != '\0') ++end;
        std::string bytes;
        for (size_t i = 0; i + 1 < end; i += 4) {
            std::uint32_t v = 0;
            for (size_t k = 0; k < 4; ++k) v = v << 6 | (i + k < end ? sextet(text[i + k]) : 0);
            bytes += static_cast<char>(v >> 16);
            if (i + 2 < end) bytes += static_cast<char>(v >> 8);
            if (i + 3 < end) bytes += static_cast<char>(v);
        }
        size_t read = end;
        while (read < text.size() && text[read] == '=') ++read;
        const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char b) { return static_cast<unsigned char>(b) < 0x80; });

        std::string out(DecodedSizeLimit(text.size()), '?');
        const DecodedPrefix prefix = DecodePrefix(text, out.data());
        ASSERT_EQ(prefix.read, read) << text;
        ASSERT_EQ(out.substr(0, prefix.written), bytes) << text;
        ASSERT_EQ(prefix.ascii, ascii) << text;
    }
}

TEST(TextCoder, DecodeBytes) {
    using Bytes = std::vector<std::uint8_t>;
    const std::pair<std::wstring, Bytes> cases[] = {
        {L"", {}},
        {L"TWFu", {'M', 'a', 'n'}},
        {L"TWE=", {'M', 'a'}},
        {L"TQ==", {'M'}},
        {L"TQ", {'M'}},
        {L"/+/+", {0xFF, 0xEF, 0xFE}},
        {L"twfu", {0xB7, 0x07, 0xEE}},  // no case swap here
        // Characters outside the alphabet count as 63, whatever their width;
        // U+0141 must not pass for "A" through its low byte.
        {L"!!!!", {0xFF, 0xFF, 0xFF}},
        {std::wstring(4, L'\0'), {0xFF, 0xFF, 0xFF}},
        {L"\u0141\u00e9\U0001F600-", {0xFF, 0xFF, 0xFF}},
        {L"TWFu==TWFu", {'M', 'a', 'n'}},
    };
    for (const auto& [base64, bytes] : cases) EXPECT_EQ(DecodeBytes(base64), bytes) << base64;
}

// Characters the code page maps to bytes and back unchanged.
std::wstring RepresentableChars(const IconvCodePage& cp, const std::vector<std::string>& candidates) {
    std::wstring chars;
    for (const auto& bytes : candidates) {
        const std::wstring w = cp.FromAnsi(bytes);
        bool lossy = false;
        if (w.size() == 1 && cp.ToAnsi(w, &lossy) == bytes && !lossy) chars += w;
    }
    return chars;
}

TEST(TextCoder, RandomTextRoundTrips) {
    std::vector<std::string> singleBytes, gbk;
    for (int b = 1; b < 256; ++b) singleBytes.push_back(std::string(1, char(b)));
    for (int lead = 0xB0; lead <= 0xB3; ++lead)
        for (int trail = 0xA1; trail <= 0xFE; ++trail) gbk.push_back({char(lead), char(trail)});
    std::vector<std::string> ascii(singleBytes.begin(), singleBytes.begin() + 127);
    ascii.insert(ascii.end(), gbk.begin(), gbk.end());

    const std::pair<const IconvCodePage&, std::wstring> pools[] = {
        {Cp1252(), RepresentableChars(Cp1252(), singleBytes)},
        {Cp936(), RepresentableChars(Cp936(), ascii)},
    };
    std::mt19937 rng(1234);
    for (const auto& [cp, pool] : pools) {
        ASSERT_GT(pool.size(), 200u);
        std::uniform_int_distribution<size_t> pick(0, pool.size() - 1), length(0, 12);
        for (int i = 0; i < 2000; ++i) {
            std::wstring text(length(rng), L' ');
            for (wchar_t& c : text) c = pool[pick(rng)];
            ASSERT_EQ(DecodeText(cp, EncodeText(cp, text)), text);
        }
    }
}

TEST(TextCoder, GetBetween) {
    struct Case {
        std::wstring text, prefix, suffix, expected;
    };
    const Case cases[] = {
        {L"Path=\"b\" IcoPath=\"xb\"", L"Path=\"", L"\"", L"b"},
        {L"IcoPath=\"xb\" Path=\"b\"", L" Path=\"", L"\"", L"b"},
        {L"a<b>c", L"<", L">", L"b"},
        {L"<>", L"<", L">", L""},
        {L"x=1;y=2;", L"", L";", L"x=1"},   // empty prefix: from the start
        {L"x=1;y=2;", L"y=", L";", L"2"},
        {L"x=1;y=2;", L"Y=", L";", L""},    // case matters
        {L"x=1;y=2", L"y=", L";", L""},     // suffix missing after the prefix
        {L";x=1", L"x=", L";", L""},        // a suffix before the prefix does not count
        {L"x=1;", L"z=", L";", L""},
        {L"x=1;", L"x=", L"", L""},
        {L"", L"", L";", L""},
        {L"aaa", L"a", L"a", L""},          // suffix searched right after the prefix
        {L"abab", L"ab", L"ab", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetBetween(c.text, c.prefix, c.suffix), c.expected)
            << c.text << " / " << c.prefix << " / " << c.suffix;
}

}  // namespace
}  // namespace mivra
