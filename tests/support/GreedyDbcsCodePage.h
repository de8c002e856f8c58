#pragma once
#include <string>

#include "text/AnsiCodePage.h"

namespace mivra::test {

// A double-byte code page that reads like the system's: a lead byte takes the
// next byte whatever it is, even a CR, LF, "=" or "]"; a lead byte at the end
// reads as "?".
class GreedyDbcsCodePage final : public AnsiCodePage {
public:
    std::string ToAnsi(std::wstring_view text, bool* lossy) const override {
        std::string out;
        for (wchar_t c : text) {
            if (c >= 0 && c < 0x80) {
                out += static_cast<char>(c);
            } else if (c >= 0x4E00 && c < 0x4E00 + 0x8000) {
                out += static_cast<char>(0x80 | ((c - 0x4E00) >> 8));
                out += static_cast<char>((c - 0x4E00) & 0xFF);
            } else {
                out += '?';
                if (lossy) *lossy = true;
            }
        }
        return out;
    }
    std::wstring FromAnsi(std::string_view bytes) const override {
        std::wstring out;
        for (size_t i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (b < 0x80) out += static_cast<wchar_t>(b);
            else if (i + 1 == bytes.size()) out += L'?';
            else out += static_cast<wchar_t>(0x4E00 + ((b & 0x7F) << 8) + static_cast<unsigned char>(bytes[++i]));
        }
        return out;
    }
};

}  // namespace mivra::test
