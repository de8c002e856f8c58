// The command items of the search box on arbitrary typed text: never fails,
// and what it makes is no larger than what was typed allows.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzText.h"
#include "items/SearchList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::wstring text = mivra::test::FuzzText(data, size);
    const std::wstring programFile = L"D:\\Mivra\\Mivra.exe";
    const std::optional<mivra::ItemRecord> item = mivra::CommandItemFor(text, programFile);
    if (!item) return 0;
    // A web search quotes the text into an address; nothing else grows it.
    const size_t most = 3 * text.size() + programFile.size() + 256;
    if (item->title.size() > most || item->path.size() > most || item->argument.size() > most) std::abort();
    return 0;
}
