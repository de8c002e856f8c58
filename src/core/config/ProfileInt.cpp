#include "config/ProfileInt.h"

#include <cstddef>
#include <cstdint>

namespace mivra {

int ProfileIntOf(std::wstring_view value) {
    value = value.substr(0, 29);
    size_t i = 0;
    while (i < value.size() && static_cast<std::uint32_t>(value[i]) <= 0x20) ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == L'-' || value[i] == L'+')) negative = value[i++] == L'-';
    std::uint32_t base = 10;
    if (i + 1 < value.size() && value[i] == L'0') {
        switch (value[i + 1]) {
            case L'b': base = 2; break;
            case L'o': base = 8; break;
            case L'x': base = 16; break;
            default: break;
        }
        if (base != 10) i += 2;
    }
    std::uint32_t result = 0;
    for (; i < value.size(); ++i) {
        const wchar_t c = value[i];
        std::uint32_t digit;
        if (c >= L'0' && c <= L'9') digit = static_cast<std::uint32_t>(c - L'0');
        else if (c >= L'a' && c <= L'z') digit = static_cast<std::uint32_t>(c - L'a' + 10);
        else if (c >= L'A' && c <= L'Z') digit = static_cast<std::uint32_t>(c - L'A' + 10);
        else break;
        if (digit >= base) break;
        result = result * base + digit;
    }
    if (negative) result = 0u - result;
    return static_cast<int>(result);
}

}  // namespace mivra
