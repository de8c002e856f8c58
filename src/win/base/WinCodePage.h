#pragma once
// The ANSI code page of the system (or a fixed one such as 936), through the
// platform's own conversions.

#include <windows.h>

#include "text/AnsiCodePage.h"

namespace mivra::win {

class WinCodePage final : public AnsiCodePage {
public:
    explicit WinCodePage(UINT codePage = CP_ACP);
    std::string ToAnsi(std::wstring_view text, bool* lossy = nullptr) const override;
    std::wstring FromAnsi(std::string_view bytes) const override;
    void AppendToAnsi(std::wstring_view text, std::string& out, bool* lossy = nullptr) const override;
    void AppendFromAnsi(std::string_view bytes, std::wstring& out) const override;

private:
    UINT codePage_;
    unsigned maxCharSize_ = 2;
    bool leadByte_[256] = {};
    bool canReportLoss_ = true;
};

// The system's ANSI code page, shared by everything that stores ANSI bytes.
const AnsiCodePage& SystemCodePage();

}  // namespace mivra::win
