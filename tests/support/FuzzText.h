#pragma once
// Text for fuzz targets from raw bytes: one character per byte, which keeps
// the ASCII keys and marks a parser looks for within the fuzzer's reach, and
// 0xFF followed by two bytes for any other character.

#include <cstddef>
#include <cstdint>
#include <string>

namespace mivra::test {

inline std::wstring FuzzText(const std::uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && i + 2 < size) {
            text += static_cast<wchar_t>(data[i + 1] << 8 | data[i + 2]);
            i += 2;
        } else {
            text += static_cast<wchar_t>(data[i]);
        }
    }
    return text;
}

}  // namespace mivra::test
