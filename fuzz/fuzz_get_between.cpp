// GetBetween on text, prefix and suffix cut from the input at 0x00 bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/TextCoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    std::wstring parts[3];
    size_t part = 0;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && part < 2) ++part;
        else parts[part] += wchar_t(data[i]);
    }
    const std::wstring& text = parts[0];
    const std::wstring& prefix = parts[1];
    const std::wstring& suffix = parts[2];

    const std::wstring between = mivra::GetBetween(text, prefix, suffix);
    if (between.empty()) return 0;
    // A non-empty result sits right after the first prefix and stops at the
    // first suffix that follows it.
    const size_t start = text.find(prefix) + prefix.size();
    if (suffix.empty() || text.compare(start, between.size(), between) != 0 ||
        text.compare(start + between.size(), suffix.size(), suffix) != 0 ||
        (between + suffix).find(suffix) != between.size())
        std::abort();
    return 0;
}
