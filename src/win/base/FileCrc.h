#pragma once
// The CRC-32 check value of a file's bytes, as eight hexadecimal digits.

#include <string>

namespace mivra::win {

// "00000000" for a missing or empty file.
std::wstring CrcFile(const std::wstring& path);

}  // namespace mivra::win
