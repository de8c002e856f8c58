// The whole configuration on a fuzzed file: a random sequence of renames
// (with hostile titles), adds, deletes, saves and settings writes, as the
// program makes them. After every step a load of the file gives back the
// groups held in memory (as the code page keeps their text), and a settings
// write never changes the groups.
//
// The steps are taken from the end of the input, the file is what is left.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "IconvCodePage.h"
#include "MemoryStorage.h"
#include "config/Configuration.h"
#include "config/Options.h"
#include "groups/GroupCommands.h"
#include "text/TextCoder.h"

namespace {

using namespace mivra;

const test::IconvCodePage& CodePage() {
    static const test::IconvCodePage codePage("CP936");
    return codePage;
}

std::wstring Kept(const std::wstring& text) { return CodePage().FromAnsi(CodePage().ToAnsi(text)); }

// What memory holds, as the file can hold it.
std::vector<Group> AsStored(const std::vector<Group>& groups) {
    std::vector<Group> stored;
    for (const Group& group : groups) {
        Group copy(Kept(group.title));
        for (const ItemRecord& item : group.Items())
            copy.Items().push_back(
                {Kept(item.title), Kept(item.path), Kept(item.icoPath), Kept(item.argument), Kept(item.count)});
        stored.push_back(std::move(copy));
    }
    return stored;
}

std::wstring Title(FuzzedDataProvider& input) {
    static const std::wstring kHostile[] = {
        L"[x]", L"[x]", L"]", L";", L"=", L"a=b", L" [y] ", L"", L"   ", L"\t", L"line\r\nbreak", L"[Config]",
        L"[Data]", L"中文", L"x\x1a", std::wstring(L"n\0ul", 4), L"=,", L"a,", L"[", L"；全角", L"[=[=",
    };
    if (input.ConsumeBool()) return kHostile[input.ConsumeIntegralInRange<size_t>(0, std::size(kHostile) - 1)];
    return CodePage().FromAnsi(input.ConsumeRandomLengthString(24));
}

// A value of the option's kind, as the program writes one.
std::wstring ValueFor(const OptionEntry& option, FuzzedDataProvider& input) {
    switch (option.kind) {
        case OptionKind::Flag: return input.ConsumeBool() ? L"1" : L"0";
        case OptionKind::Integer:
        case OptionKind::Text: return std::to_wstring(input.ConsumeIntegral<int>());
        case OptionKind::EncodedText:
            return EncodeText(CodePage(), CodePage().FromAnsi(input.ConsumeRandomLengthString(16)));
        case OptionKind::Rectangle: {
            std::wstring bounds;
            for (int i = 0; i < 4; ++i) bounds += (i ? L"," : L"") + std::to_wstring(input.ConsumeIntegral<int>());
            return bounds;
        }
    }
    return {};
}

// What went wrong, for whoever reads the crash: the step and the file.
void Check(bool holds, const char* what, const test::MemoryStorage& storage) {
    if (holds) return;
    std::fprintf(stderr, "fuzz_configuration: %s\nfile: ", what);
    for (const unsigned char c : storage.bytes.value_or(""))
        std::fprintf(stderr, c >= 0x20 && c < 0x7F && c != '\\' ? "%c" : "\\x%02x", c);
    std::fprintf(stderr, "\n");
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<int> steps;
    for (int n = input.ConsumeIntegralInRange(0, 12); n > 0; --n) steps.push_back(input.ConsumeIntegralInRange(0, 5));

    test::MemoryStorage storage;
    test::RecordingNotifier notifier;
    storage.bytes = input.ConsumeRemainingBytesAsString();
    Configuration config(CodePage(), storage, notifier);
    config.LoadOptions();
    if (config.IsLocked()) return 0;  // the lock refuses every save: nothing to compare
    std::optional<LoadedData> loaded = config.LoadGroups();
    if (!loaded) return 0;
    std::vector<Group> groups = std::move(loaded->groups);
    const auto fileHoldsThem = [&] {
        const std::optional<LoadedData> again = config.LoadGroups();
        if (again && again->groups == AsStored(groups)) return true;
        const auto print = [](const char* what, const std::vector<Group>& gs) {
            std::fprintf(stderr, "%s:", what);
            for (const Group& g : gs) {
                std::fprintf(stderr, " [");
                for (const wchar_t c : g.title) std::fprintf(stderr, c < 0x7F && c >= 0x20 ? "%lc" : "\\u%04x", c);
                std::fprintf(stderr, "] %zu items;", g.Items().size());
            }
            std::fprintf(stderr, "\n");
        };
        print("memory", AsStored(groups));
        if (again) print("file", again->groups);
        return false;
    };

    FuzzedDataProvider choices(data, size);  // titles and positions, from the front
    for (const int step : steps) {
        const int count = static_cast<int>(groups.size());
        const int position = count == 0 ? 1 : choices.ConsumeIntegralInRange(1, count);
        switch (step) {
            case 0: RenameGroup(groups, position, Title(choices)); break;
            case 1: AddGroup(groups, Title(choices)); break;
            case 2: DeleteGroup(groups, position); break;
            case 3: DeleteAllGroups(groups); break;
            case 4: break;  // a save of what is there
            case 5: {
                // A settings write: any option but the lock, to any short value.
                const auto options = AllOptions();
                const OptionEntry& option = options[choices.ConsumeIntegralInRange<size_t>(0, options.size() - 1)];
                if (option.id == Opt::LockConfig) continue;
                const std::optional<LoadedData> before = config.LoadGroups();
                config.SetConfig(option.id, ValueFor(option, choices), option.defaultValue, false);
                const std::optional<LoadedData> after = config.LoadGroups();
                Check(before && after && before->groups == after->groups, "a settings write changed the groups",
                      storage);
                Check(fileHoldsThem(), "the file does not hold the groups after a settings write", storage);
                continue;
            }
        }
        // Every change of the groups is saved, as the program saves it.
        Check(config.SaveGroups(groups).written, "a save was refused", storage);
        Check(fileHoldsThem(), "the file does not hold the groups after a save", storage);
    }
    return 0;
}
