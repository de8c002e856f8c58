#pragma once
// A fixed ANSI code page for native tests and fuzz targets, through iconv
// ("CP936", "CP1252", ...), standing in for the system's code page.

#include <string>

#include "text/AnsiCodePage.h"

namespace mivra::test {

class IconvCodePage final : public AnsiCodePage {
public:
    explicit IconvCodePage(std::string name) : name_(std::move(name)) {}
    std::string ToAnsi(std::wstring_view text, bool* lossy = nullptr) const override;
    std::wstring FromAnsi(std::string_view bytes) const override;

private:
    std::string name_;
};

}  // namespace mivra::test
