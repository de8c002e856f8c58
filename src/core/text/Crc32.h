#pragma once
// CRC-32 check values (reflected polynomial EDB88320) written as eight
// upper-case hexadecimal digits.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "text/AnsiCodePage.h"

namespace mivra {

std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

// Eight upper-case hexadecimal digits, zero-padded.
std::wstring CrcHex(std::uint32_t crc);

// Over the ANSI bytes of the text.
std::wstring CrcText(const AnsiCodePage& codePage, std::wstring_view text);

}  // namespace mivra
