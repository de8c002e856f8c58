#include "base/WinCodePage.h"

#include <climits>

namespace mivra::win {

std::string WinCodePage::ToAnsi(std::wstring_view text, bool* lossy) const {
    if (text.empty()) return {};
    // Longer texts never reach here: every caller stores lines, not files.
    const int length = text.size() > INT_MAX / 4 ? INT_MAX / 4 : static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    int size = WideCharToMultiByte(codePage_, 0, text.data(), length, nullptr, 0, nullptr, &usedDefault);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage_, 0, text.data(), length, out.data(), size, nullptr, &usedDefault);
    if (lossy && usedDefault) *lossy = true;
    return out;
}

std::wstring WinCodePage::FromAnsi(std::string_view bytes) const {
    if (bytes.empty()) return {};
    const int length = bytes.size() > INT_MAX / 2 ? INT_MAX / 2 : static_cast<int>(bytes.size());
    int size = MultiByteToWideChar(codePage_, 0, bytes.data(), length, nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage_, 0, bytes.data(), length, out.data(), size);
    return out;
}

const AnsiCodePage& SystemCodePage() {
    static const WinCodePage system(CP_ACP);
    return system;
}

}  // namespace mivra::win
