#include "text/Crc32.h"

#include <array>

namespace mivra {
namespace {

constexpr std::array<std::uint32_t, 256> MakeTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr auto kTable = MakeTable();

}  // namespace

// `crc` is a previous result (0 to start): the register is the complement of
// the result, so undoing the final complement lets a file be hashed chunk by
// chunk with Crc32(next, Crc32(previous)).
std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
    std::uint32_t c = ~crc;
    for (std::uint8_t b : bytes) c = kTable[(c ^ b) & 0xFF] ^ (c >> 8);
    return ~c;
}

std::wstring CrcHex(std::uint32_t crc) {
    std::wstring out(8, L'0');
    for (int i = 7; i >= 0; --i, crc >>= 4) out[i] = L"0123456789ABCDEF"[crc & 15];
    return out;
}

std::wstring CrcText(const AnsiCodePage& codePage, std::wstring_view text) {
    const std::string bytes = codePage.ToAnsi(text);
    return CrcHex(Crc32({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}));
}

}  // namespace mivra
