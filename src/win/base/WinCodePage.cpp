#include "base/WinCodePage.h"

#include <climits>

#include "text/ByteScan.h"

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

std::string WinCodePage::ToAnsi(std::wstring_view text, bool* lossy) const {
    std::string out;
    AppendToAnsi(text, out, lossy);
    return out;
}

std::wstring WinCodePage::FromAnsi(std::string_view bytes) const {
    std::wstring out;
    AppendFromAnsi(bytes, out);
    return out;
}

// ASCII stands for itself in every ANSI code page, and most of what Mivra
// stores is ASCII (paths, encoded records): only the runs of other
// characters go through the system's converter, and ASCII is copied a block
// at a time (the output has room for a whole block).
void WinCodePage::AppendToAnsi(std::wstring_view text, std::string& out, bool* lossy) const {
    const size_t start = out.size();
    out.resize(start + text.size() * maxCharSize_);
    char* o = out.data() + start;
    const char* const oEnd = out.data() + out.size();
    const wchar_t* in = text.data();
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const size_t ascii = scan::NarrowAsciiPrefix(in + i, n - i, o);
        o += ascii;
        i += ascii;
        if (i == n) break;
        size_t end = i;
        while (end < n && in[end] >= 0x80 && end - i < kMaxRun) ++end;
        BOOL usedDefault = FALSE;
        // No look-alikes: on a code page without it, a fullwidth quote or
        // comma must become "?", never the ASCII one that ends a field.
        const int written = WideCharToMultiByte(codePage_, canReportLoss_ ? WC_NO_BEST_FIT_CHARS : 0, in + i,
                                                static_cast<int>(end - i), o, static_cast<int>(oEnd - o), nullptr,
                                                canReportLoss_ ? &usedDefault : nullptr);
        if (lossy && !*lossy && written > 0 && !usedDefault) {
            // What the system does not report (UTF-8 replaces a lone surrogate
            // silently) shows when the bytes are read back.
            std::wstring back(end - i, L'\0');
            back.resize(static_cast<size_t>(
                MultiByteToWideChar(codePage_, 0, o, written, back.data(), static_cast<int>(back.size()))));
            usedDefault = back != std::wstring_view(in + i, end - i);
        }
        if (written > 0) o += written;
        if (lossy && usedDefault) *lossy = true;
        i = end;
    }
    out.resize(static_cast<size_t>(o - out.data()));
}

void WinCodePage::AppendFromAnsi(std::string_view bytes, std::wstring& out) const {
    // Every byte gives at most one UTF-16 unit.
    const size_t start = out.size();
    out.resize(start + bytes.size());
    wchar_t* o = out.data() + start;
    const wchar_t* const oEnd = out.data() + out.size();
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    for (size_t i = 0; i < n;) {
        const size_t ascii = scan::WidenAsciiPrefix(bytes.data() + i, n - i, o);
        o += ascii;
        i += ascii;
        if (i == n) break;
        // A run of characters that start at a byte of 0x80 or above; the
        // second byte of a double-byte character may be ASCII and belongs to it.
        size_t end = i;
        while (end < n && in[end] >= 0x80 && end - i < kMaxRun) end += (leadByte_[in[end]] ? 2 : 1);
        if (end > n) end = n;
        const int written = MultiByteToWideChar(codePage_, 0, bytes.data() + i, static_cast<int>(end - i), o,
                                                static_cast<int>(oEnd - o));
        if (written > 0) o += written;
        i = end;
    }
    out.resize(static_cast<size_t>(o - out.data()));
}

const AnsiCodePage& SystemCodePage() {
    static const WinCodePage system(CP_ACP);
    return system;
}

}  // namespace mivra::win
