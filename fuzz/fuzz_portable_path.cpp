// Stored item paths on arbitrary text: resolving never fails, and a path on
// the program's drive made portable resolves to the same place again.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "paths/PortablePath.h"
#include "text/Strings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const auto text = [&](size_t most) {
        std::wstring text;
        for (const char c : input.ConsumeRandomLengthString(most)) text += static_cast<wchar_t>(static_cast<unsigned char>(c));
        return text;
    };
    const std::wstring variable = text(40);
    const std::wstring programDir = L"D:\\" + text(40);
    const std::wstring path = text(300);
    const mivra::EnvironmentLookup environment = [&](std::wstring_view name) -> std::optional<std::wstring> {
        if (name.empty() || name.size() % 2) return std::nullopt;
        return variable;
    };
    const std::wstring resolved = mivra::ResolvePath(path, programDir, environment);
    // Every occurrence of the leading marker is replaced, but nothing that a
    // replacement put in is replaced again: the text grows by at most that.
    if (resolved.size() > path.size() * (1 + std::max(programDir.size(), variable.size())) + 8) std::abort();

    // A plain path on the program's drive (one colon, no variables, no dots
    // in front, the program's folder itself a plain one) comes back to itself.
    const std::wstring plain = L"D:\\" + path;
    const bool simple = plain.find_first_of(L":%", 2) == std::wstring::npos &&
                        programDir.find_first_of(L":%", 2) == std::wstring::npos && !path.starts_with(L".") &&
                        programDir.back() != L'\\';
    if (!simple) return 0;
    // The same place: a run of backslashes is one separator to the system
    // (the stored form collapses doubled ones once only), and a folder may
    // come back with a backslash after it.
    const auto place = [](const std::wstring& p) {
        std::wstring out;
        for (const wchar_t c : p)
            if (c != L'\\' || out.empty() || out.back() != L'\\') out += c;
        while (out.size() > 3 && out.back() == L'\\') out.pop_back();
        return out;
    };
    const std::wstring portable = mivra::MakePortable(plain, programDir);
    if (!mivra::EqualsNoCase(place(mivra::ResolvePath(portable, programDir, environment)), place(plain))) std::abort();
    return 0;
}
