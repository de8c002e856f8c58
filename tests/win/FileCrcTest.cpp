// The check value of a file, read in pieces.

#include <gtest/gtest.h>

#include <fstream>

#include "base/FileCrc.h"
#include "support/TestSupport.h"
#include "text/Crc32.h"

namespace mivra::test {
namespace {

TEST(FileCrc, MissingEmptyAndLargeFiles) {
    ScratchDir dir;
    EXPECT_EQ(win::CrcFile((dir / L"missing").wstring()), L"00000000");
    const auto empty = dir / L"空.txt";
    std::ofstream(empty, std::ios::binary).close();
    EXPECT_EQ(win::CrcFile(empty.wstring()), L"00000000");

    // Several reads' worth, with the CR LF that a text-mode reader would eat.
    std::string bytes;
    for (int i = 0; bytes.size() < 300'000; ++i) bytes += "line " + std::to_string(i) + "\r\n\xE9";
    const auto big = dir / L"big.bin";
    std::ofstream(big, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    EXPECT_EQ(win::CrcFile(big.wstring()),
              CrcHex(Crc32({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()})));
}

}  // namespace
}  // namespace mivra::test
