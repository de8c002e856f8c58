// The data loader on arbitrary file bytes: whatever it loads saves and loads
// back to the same groups, whether it is saved as loaded or after its items
// were made, and it never reports more errors than records. And the same
// bytes as the five values of one item: the writer's record reads back as
// those values, as the code page keeps them, whenever the record says it can
// carry them (FieldTheRecordCannotHold). And the same bytes as the inside of
// a record: the loader's fast cutting gives the fields of CutFieldsReference.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "IconvCodePage.h"
#include "data/DataFile.h"
#include "text/TextCoder.h"

namespace {

const mivra::test::IconvCodePage& CodePage() {
    static const mivra::test::IconvCodePage codePage("CP936");
    return codePage;
}

// Five values cut at 0x1F bytes, each read as UTF-16 units (any unit: NUL,
// lone surrogates, characters the code page lacks).
mivra::ItemRecord ValuesOf(std::string_view bytes) {
    std::array<std::wstring, 5> values;
    size_t field = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == 0x1F && field < 4) {
            ++field;
        } else if (i + 1 < bytes.size()) {
            values[field] += static_cast<wchar_t>(static_cast<std::uint8_t>(bytes[i]) |
                                                  static_cast<std::uint8_t>(bytes[i + 1]) << 8);
            ++i;
        }
    }
    return {values[0], values[1], values[2], values[3], values[4]};
}

void CheckValueRoundTrip(std::string_view bytes) {
    const auto& codePage = CodePage();
    const mivra::ItemRecord item = ValuesOf(bytes);
    auto kept = [&](const std::wstring& s) { return codePage.FromAnsi(codePage.ToAnsi(s)); };
    const mivra::ItemRecord expected{kept(item.title), kept(item.path), kept(item.icoPath), kept(item.argument),
                                     kept(item.count)};
    // The rule the program adds items by must be right: what it accepts comes back.
    if (!mivra::FieldTheRecordCannotHold(expected).empty()) return;
    std::string file = "[Data]\r\n";
    for (const std::string& line : mivra::DataSectionLines(codePage, {mivra::Group(L"g", {item})})) file += line + "\r\n";
    const mivra::LoadedData loaded = mivra::LoadData(codePage, file);
    if (!loaded.errors.empty() || loaded.groups.size() != 1 || loaded.groups[0].Items().size() != 1) std::abort();
    if (loaded.groups[0].Items()[0] != expected) std::abort();
}

// The bytes framed as a whole record (the loader skips anything else), and
// stored as a group line.
void CheckCutAgainstReference(std::string_view bytes) {
    const auto& codePage = CodePage();
    const std::string record = "Title:\"" + std::string(bytes) + "\",";
    std::string file = "g=" + std::string(mivra::EncodedSize(record.size()), '\0');
    file.resize(2 + mivra::EncodeBytesTo(record, file.data() + 2));
    file += ",";
    const mivra::LoadedData loaded = mivra::LoadData(codePage, file);
    if (!loaded.errors.empty() || loaded.groups.size() != 1 || loaded.groups[0].Items().size() != 1) std::abort();
    if (loaded.groups[0].Items()[0] != mivra::CutFieldsReference(codePage.FromAnsi(record))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const auto& codePage = CodePage();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckValueRoundTrip(bytes);
    CheckCutAgainstReference(bytes);

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
