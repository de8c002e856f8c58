// The data loader on arbitrary file bytes: whatever it loads saves and loads
// back to the same groups, whether it is saved as loaded or after its items
// were made, and it never reports more errors than records.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "IconvCodePage.h"
#include "data/DataFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const mivra::test::IconvCodePage codePage("CP936");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const mivra::LoadedData loaded = mivra::LoadData(codePage, bytes);
    if (loaded.errors.size() > size) std::abort();

    // What the loader accepted is what the writer writes: saving it and
    // loading it again gives the same groups, less what the code page cannot
    // hold. Titles are compared as the code page keeps them.
    auto saveAndLoad = [&] {
        std::string file;
        for (const std::string& line : mivra::DataSectionLines(codePage, loaded.groups)) file += line + "\r\n";
        mivra::LoadedData again = mivra::LoadData(codePage, file);
        if (!again.errors.empty() || again.groups.size() != loaded.groups.size()) std::abort();
        auto kept = [&](const std::wstring& s) { return codePage.FromAnsi(codePage.ToAnsi(s)); };
        for (size_t g = 0; g < loaded.groups.size(); ++g)
            if (again.groups[g].title != kept(loaded.groups[g].title)) std::abort();
        return again;
    };
    // Saved untouched, the records come back as they were.
    const mivra::LoadedData asLoaded = saveAndLoad();
    for (size_t g = 0; g < loaded.groups.size(); ++g)
        if (asLoaded.groups[g].Items() != loaded.groups[g].Items()) std::abort();
    // Saved from the items (made above): as many come back.
    const mivra::LoadedData fromItems = saveAndLoad();
    for (size_t g = 0; g < loaded.groups.size(); ++g)
        if (fromItems.groups[g].Items().size() != loaded.groups[g].Items().size()) std::abort();
    return 0;
}
