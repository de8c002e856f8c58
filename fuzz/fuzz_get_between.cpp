// GetBetween on text, prefix and suffix cut from the input at 0x00 bytes,
// against a reference that looks for each part position by position: the
// text after the first prefix up to the first suffix that follows it, and
// nothing when the suffix is empty or either is missing.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/TextCoder.h"

namespace {

size_t FindFrom(const std::wstring& text, const std::wstring& part, size_t from) {
    for (size_t at = from; at + part.size() <= text.size(); ++at)
        if (std::equal(part.begin(), part.end(), text.begin() + static_cast<std::ptrdiff_t>(at))) return at;
    return std::wstring::npos;
}

std::wstring Reference(const std::wstring& text, const std::wstring& prefix, const std::wstring& suffix) {
    if (suffix.empty()) return {};
    const size_t p = FindFrom(text, prefix, 0);
    if (p == std::wstring::npos) return {};
    const size_t start = p + prefix.size();
    const size_t end = FindFrom(text, suffix, start);
    if (end == std::wstring::npos) return {};
    return text.substr(start, end - start);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    std::wstring parts[3];
    size_t part = 0;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && part < 2) ++part;
        else parts[part] += wchar_t(data[i]);
    }
    if (mivra::GetBetween(parts[0], parts[1], parts[2]) != Reference(parts[0], parts[1], parts[2])) std::abort();
    return 0;
}
