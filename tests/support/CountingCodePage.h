#pragma once
// A code page that counts the work done through it: every byte decoded and
// every character encoded, so that a test can bound the cost of a parser
// without timing it.

#include <string>

#include "text/AnsiCodePage.h"

namespace mivra::test {

class CountingCodePage final : public AnsiCodePage {
public:
    explicit CountingCodePage(const AnsiCodePage& inner) : inner_(inner) {}

    std::string ToAnsi(std::wstring_view text, bool* lossy = nullptr) const override {
        units += text.size();
        return inner_.ToAnsi(text, lossy);
    }
    std::wstring FromAnsi(std::string_view bytes) const override {
        units += bytes.size();
        return inner_.FromAnsi(bytes);
    }

    mutable size_t units = 0;  // bytes decoded plus characters encoded

private:
    const AnsiCodePage& inner_;
};

}  // namespace mivra::test
