#include "base/WinCodePage.h"

#include <climits>

namespace mivra::win {
namespace {

// Longer texts never reach here: files are converted a line or a section at a time.
constexpr size_t kMaxRun = INT_MAX / 4;

}  // namespace

WinCodePage::WinCodePage(UINT codePage) : codePage_(codePage == CP_ACP ? GetACP() : codePage) {
    CPINFO info{};
    if (GetCPInfo(codePage_, &info)) {
        maxCharSize_ = info.MaxCharSize;
        for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i]; i += 2)
            for (unsigned b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b) leadByte_[b] = true;
    }
    // The converter reports no replaced characters for these, and refuses
    // to be asked.
    canReportLoss_ = codePage_ != CP_UTF8 && codePage_ != CP_UTF7;
}

// ASCII stands for itself in every ANSI code page, and most of what Mivra
// stores is ASCII (paths, encoded records): only the runs of other
// characters go through the system's converter.
std::string WinCodePage::ToAnsi(std::wstring_view text, bool* lossy) const {
    std::string out(text.size() * maxCharSize_, '\0');
    size_t o = 0;
    for (size_t i = 0; i < text.size();) {
        if (text[i] < 0x80) {
            out[o++] = static_cast<char>(text[i++]);
            continue;
        }
        size_t end = i;
        while (end < text.size() && text[end] >= 0x80 && end - i < kMaxRun) ++end;
        BOOL usedDefault = FALSE;
        const int n = WideCharToMultiByte(codePage_, 0, text.data() + i, static_cast<int>(end - i), out.data() + o,
                                          static_cast<int>(out.size() - o), nullptr,
                                          canReportLoss_ ? &usedDefault : nullptr);
        if (n > 0) o += static_cast<size_t>(n);
        if (lossy && usedDefault) *lossy = true;
        i = end;
    }
    out.resize(o);
    return out;
}

std::wstring WinCodePage::FromAnsi(std::string_view bytes) const {
    // Every byte gives at most one UTF-16 unit.
    std::wstring out(bytes.size(), L'\0');
    size_t o = 0;
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    for (size_t i = 0; i < bytes.size();) {
        if (in[i] < 0x80) {
            out[o++] = static_cast<wchar_t>(in[i++]);
            continue;
        }
        // A run of characters that start at a byte of 0x80 or above; the
        // second byte of a double-byte character may be ASCII and belongs to it.
        size_t end = i;
        while (end < bytes.size() && in[end] >= 0x80 && end - i < kMaxRun) end += (leadByte_[in[end]] ? 2 : 1);
        if (end > bytes.size()) end = bytes.size();
        const int n = MultiByteToWideChar(codePage_, 0, bytes.data() + i, static_cast<int>(end - i), out.data() + o,
                                          static_cast<int>(out.size() - o));
        if (n > 0) o += static_cast<size_t>(n);
        i = end;
    }
    out.resize(o);
    return out;
}

const AnsiCodePage& SystemCodePage() {
    static const WinCodePage system(CP_ACP);
    return system;
}

}  // namespace mivra::win
