#include "text/Crc32.h"

#include <gtest/gtest.h>

#include <fstream>

#include "IconvCodePage.h"

namespace mivra {
namespace {

std::span<const std::uint8_t> Bytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::filesystem::path TempFile(const std::string& name) {
    return std::filesystem::path(testing::TempDir()) / ("mivra_crc_" + name);
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

TEST(Crc32, File) {
    EXPECT_EQ(CrcFile(TempFile("missing")), L"00000000");

    const auto empty = TempFile("empty");
    std::ofstream(empty, std::ios::binary).close();
    EXPECT_EQ(CrcFile(empty), L"00000000");

    // Large enough to take several reads, with a CR LF that text mode would eat.
    std::wstring text;
    for (int i = 0; text.size() < 300'000; ++i) text += L"line " + std::to_wstring(i) + L"\r\n\x00e9";
    const test::IconvCodePage cp("CP1252");
    const std::string ansi = cp.ToAnsi(text);
    const auto big = TempFile("big");
    std::ofstream(big, std::ios::binary).write(ansi.data(), std::streamsize(ansi.size()));
    EXPECT_EQ(CrcFile(big), CrcText(cp, text));

    std::filesystem::remove(empty);
    std::filesystem::remove(big);
}

}  // namespace
}  // namespace mivra
