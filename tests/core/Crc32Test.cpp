#include "text/Crc32.h"

#include <gtest/gtest.h>


#include "IconvCodePage.h"

namespace mivra {
namespace {

std::span<const std::uint8_t> Bytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(Crc32, KnownValuesAndHex) {
    EXPECT_EQ(Crc32(Bytes("123456789")), 0xCBF43926u);
    EXPECT_EQ(Crc32(Bytes("")), 0u);
    EXPECT_EQ(CrcHex(0xCBF43926u), L"CBF43926");
    EXPECT_EQ(CrcHex(0x1Au), L"0000001A");
    EXPECT_EQ(CrcHex(0), L"00000000");
}

TEST(Crc32, ContinuesFromAPreviousResult) {
    const std::string_view all = "123456789";
    for (size_t split = 0; split <= all.size(); ++split)
        EXPECT_EQ(Crc32(Bytes(all.substr(split)), Crc32(Bytes(all.substr(0, split)))), 0xCBF43926u) << split;
}

TEST(Crc32, TextIsHashedAsAnsiBytes) {
    const test::IconvCodePage cp1252("CP1252"), cp936("CP936");
    EXPECT_EQ(CrcText(cp1252, L"123456789"), L"CBF43926");
    EXPECT_EQ(CrcText(cp1252, L""), L"00000000");
    EXPECT_EQ(CrcText(cp1252, L"\u00dc"), CrcHex(Crc32(Bytes("\xDC"))));
    EXPECT_EQ(CrcText(cp936, L"\u4e2d"), CrcHex(Crc32(Bytes("\xD6\xD0"))));
}


}  // namespace
}  // namespace mivra
