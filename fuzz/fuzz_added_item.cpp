// Adding an item from outside input: a dropped path and, when it names a
// shortcut, what the shortcut holds (the link's target and arguments, an
// internet shortcut's bytes), all fuzzed. Whatever is added, the record can
// carry; a dropped file's title is its name; a count is a whole number that
// stays as it is when made again.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "IconvCodePage.h"
#include "data/DataFile.h"
#include "items/ItemEdits.h"

namespace {

using namespace mivra;

const test::IconvCodePage& CodePage() {
    static const test::IconvCodePage codePage("CP936");
    return codePage;
}

// Sources that answer every question with part of the input.
class FuzzedSources final : public ItemSources {
public:
    explicit FuzzedSources(FuzzedDataProvider& input) : input_(input) {}
    std::optional<std::wstring> AdvertisedShortcutPath(std::wstring_view) override {
        if (!input_.ConsumeBool()) return std::nullopt;
        return Text();
    }
    std::optional<ShortcutTarget> ReadShortcut(std::wstring_view) override {
        if (!input_.ConsumeBool()) return std::nullopt;
        return ShortcutTarget{Text(), Text()};
    }
    std::optional<std::string> ReadFile(std::wstring_view) override {
        if (!input_.ConsumeBool()) return std::nullopt;
        return input_.ConsumeRandomLengthString(kMostItemFileBytes);
    }
    bool Exists(std::wstring_view) override { return input_.ConsumeBool(); }
    std::optional<std::wstring> Environment(std::wstring_view) override {
        if (!input_.ConsumeBool()) return std::nullopt;
        return Text();
    }

private:
    std::wstring Text() { return CodePage().FromAnsi(input_.ConsumeRandomLengthString(300)); }
    FuzzedDataProvider& input_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::wstring extensions[] = {L".lnk", L".url", L".website", L".exe", L""};
    const std::wstring path = CodePage().FromAnsi(input.ConsumeRandomLengthString(200)) +
                              extensions[input.ConsumeIntegralInRange<size_t>(0, std::size(extensions) - 1)];
    const std::wstring count = CodePage().FromAnsi(input.ConsumeRandomLengthString(40));

    const std::wstring title = DroppedFileTitle(path);
    if (title.size() > 2 * path.size() || title.find(L'\\') != std::wstring::npos) std::abort();

    const std::wstring normalized = NormalizeCount(count);
    for (size_t i = 0; i < normalized.size(); ++i)
        if (!(normalized[i] >= L'0' && normalized[i] <= L'9') && !(i == 0 && normalized[i] == L'-')) std::abort();
    if (normalized.empty() || NormalizeCount(normalized) != normalized) std::abort();

    FuzzedSources sources(input);
    std::vector<ItemRecord> items;
    if (AddItem(items, sources, CodePage(), title, path, path, L"", count)) {
        if (items.size() != 1 || !FieldTheRecordCannotHold(items[0]).empty()) std::abort();
        if (items[0].count != normalized) std::abort();
    } else if (!items.empty()) {
        std::abort();
    }
    return 0;
}
