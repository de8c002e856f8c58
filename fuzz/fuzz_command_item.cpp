// The command items of the search box on arbitrary typed text: never fails,
// and what it makes is no larger than what was typed allows.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "items/SearchList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    // One character per byte keeps "<", ">", ":" and the keywords within
    // reach; 0xFF and two bytes make any other character.
    std::wstring text;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && i + 2 < size) {
            text += static_cast<wchar_t>(data[i + 1] << 8 | data[i + 2]);
            i += 2;
        } else {
            text += static_cast<wchar_t>(data[i]);
        }
    }
    const std::wstring programFile = L"D:\\Mivra\\Mivra.exe";
    const std::optional<mivra::ItemRecord> item = mivra::CommandItemFor(text, programFile);
    if (!item) return 0;
    // A web search quotes the text into an address; nothing else grows it.
    const size_t most = 3 * text.size() + programFile.size() + 256;
    if (item->title.size() > most || item->path.size() > most || item->argument.size() > most) std::abort();
    return 0;
}
