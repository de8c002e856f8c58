// DecodeText on arbitrary wide text, and EncodeText/DecodeText round trips.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "IconvCodePage.h"
#include "text/TextCoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const mivra::test::IconvCodePage codePage("CP936");

    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (!text.empty()) std::memcpy(text.data(), data, text.size() * sizeof(wchar_t));

    const std::wstring decoded = mivra::DecodeText(codePage, text);
    // Every decoded byte yields at most one character.
    if (decoded.size() > text.size()) std::abort();

    // The coder must be as lossless as the code page: whatever survives
    // ToAnsi/FromAnsi must survive EncodeText/DecodeText too.
    const std::wstring expected = codePage.FromAnsi(codePage.ToAnsi(text));
    if (mivra::DecodeText(codePage, mivra::EncodeText(codePage, text)) != expected) std::abort();
    return 0;
}
