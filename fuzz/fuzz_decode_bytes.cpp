// DecodeBytes against a bit-at-a-time reference decoder.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "text/TextCoder.h"

namespace {

std::vector<std::uint8_t> Reference(std::wstring_view text) {
    static const std::wstring alphabet = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::vector<std::uint8_t> out;
    std::uint32_t bits = 0;
    int count = 0;
    for (wchar_t c : text) {
        if (c == L'=') break;
        const size_t value = alphabet.find(c);
        bits = (bits << 6 | (value == std::wstring::npos ? 63 : std::uint32_t(value))) & 0xFFFF;
        count += 6;
        if (count >= 8) {
            count -= 8;
            out.push_back(std::uint8_t(bits >> count));
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    // Bytes 0x80 and up become U+0100..U+017F: non-ASCII characters whose
    // low byte would pass for a letter or digit if a decoder truncated them.
    std::wstring text;
    text.reserve(size);
    for (size_t i = 0; i < size; ++i) text += data[i] < 0x80 ? wchar_t(data[i]) : wchar_t(0x100 | (data[i] & 0x7F));
    if (mivra::DecodeBytes(text) != Reference(text)) std::abort();
    return 0;
}
