#include "base/FileCrc.h"

#include <windows.h>

#include <array>

#include "base/Unique.h"
#include "text/Crc32.h"

namespace mivra::win {

std::wstring CrcFile(const std::wstring& path) {
    std::uint32_t crc = 0;
    const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    // A missing file hashes like an empty one.
    if (!file) return CrcHex(crc);
    std::array<std::uint8_t, 64 * 1024> buffer;
    DWORD got = 0;
    while (ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0)
        crc = Crc32({buffer.data(), got}, crc);
    return CrcHex(crc);
}

}  // namespace mivra::win
