// The memo's and the hosts editor's text from someone else's file: the text
// an edit box holds and the characters named in the save question. Never
// fails; what the box holds has no NUL and stays as it is; the named
// characters are empty exactly when the code page holds the whole text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzText.h"
#include "IconvCodePage.h"
#include "tools/ToolText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const mivra::test::IconvCodePage codePage("CP936");
    const std::wstring text = mivra::test::FuzzText(data, size);
    const std::wstring shown = mivra::TextForEditBox(text);
    if (shown.size() > 2 * text.size()) std::abort();
    if (shown.find(L'\0') != std::wstring::npos || mivra::TextForEditBox(shown) != shown) std::abort();
    bool lossy = false;
    codePage.ToAnsi(text, &lossy);
    if (mivra::UnsavableCharacters(codePage, text).empty() == lossy) std::abort();
    return 0;
}
