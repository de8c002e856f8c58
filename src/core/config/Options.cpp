#include "config/Options.h"

#include "config/ProfileFile.h"
#include "text/Strings.h"

namespace mivra {

const OptionEntry* FindOption(std::wstring_view key) {
    for (const OptionEntry& option : AllOptions())
        if (EqualsNoCase(option.key, key)) return &option;
    return nullptr;
}

std::wstring EffectiveValue(const OptionEntry& option, const std::optional<std::wstring>& stored) {
    switch (option.kind) {
    case OptionKind::Flag: {
        const int value = stored ? ProfileIntOf(*stored) : ProfileIntOf(option.defaultValue);
        return value == 1 ? L"1" : L"0";
    }
    case OptionKind::Integer: {
        const int value = stored ? ProfileIntOf(*stored) : ProfileIntOf(option.defaultValue);
        const IntRange& r = option.range;
        const bool inRange =
            value >= r.min && value <= r.max && (static_cast<long long>(value) - r.min) % r.step == 0;
        return std::to_wstring(inRange ? value : r.fallback);
    }
    case OptionKind::Text:
    case OptionKind::EncodedText:
    case OptionKind::Rectangle:
        break;
    }
    return stored ? *stored : std::wstring(option.defaultValue);
}

bool IsQuietKey(Opt option) {
    return option == Opt::ActivatedTab || option == Opt::Size || option == Opt::Handle || option == Opt::Version;
}

}  // namespace mivra
