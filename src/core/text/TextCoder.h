#pragma once
// The record coder: every text that must stand on one line of a file, on a
// command line or in a server reply without quoting is stored as the base64
// of its ANSI bytes with the case of every ASCII letter swapped.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/AnsiCodePage.h"

namespace mivra {

// Text -> ANSI bytes -> base64 -> letter case swapped. "abc" gives "ywjJ".
// When the code page cannot represent a character it is stored as "?" and,
// if `lossy` is given, *lossy is set to true.
std::wstring EncodeText(const AnsiCodePage& codePage, std::wstring_view text, bool* lossy = nullptr);

// Inverse of EncodeText. Tolerant: characters outside the alphabet count as
// 63 and everything from the first "=" on is ignored.
std::wstring DecodeText(const AnsiCodePage& codePage, std::wstring_view encoded);

// The record coder on bytes, for writers and readers of many records: they
// write into buffers they keep, so neither allocates.
//
// The stored form of `ansiBytes`, written to `out`, which has room for
// EncodedSize(ansiBytes.size()) characters; returns that many.
constexpr size_t EncodedSize(size_t bytes) { return (bytes + 2) / 3 * 4; }
size_t EncodeBytesTo(std::string_view ansiBytes, char* out);
// Reads the stored form at the start of `text` as far as it goes: letters,
// digits, "+" and "/", then any "=" padding; stops at anything else (a
// reader that wants DecodeText's tolerance uses DecodeText). Writes the
// bytes it holds to `out`, which has room for DecodedSizeLimit(text.size()).
struct DecodedPrefix {
    size_t read;     // characters, padding included
    size_t written;  // bytes
    bool ascii;      // every byte written is below 0x80
};
constexpr size_t DecodedSizeLimit(size_t characters) { return characters / 4 * 3 + 2; }
DecodedPrefix DecodePrefix(std::string_view text, char* out);

// Plain base64 to bytes with the same tolerance (no case swap, no code page).
std::vector<std::uint8_t> DecodeBytes(std::wstring_view base64);

// The text after the first `prefix` up to the next `suffix`; "" when either
// is missing or the suffix is empty. An empty prefix means from the start.
std::wstring GetBetween(std::wstring_view text, std::wstring_view prefix, std::wstring_view suffix);

}  // namespace mivra
