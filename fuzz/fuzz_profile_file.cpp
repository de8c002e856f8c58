// ProfileFile on arbitrary bytes: parsing, reading and writing never crash;
// after every write the object reads what a fresh parse of its bytes reads; a
// plain value reads back as set; a write leaves the lines it does not change
// byte for byte.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "GreedyDbcsCodePage.h"
#include "IconvCodePage.h"
#include "config/ProfileFile.h"

namespace {

using mivra::AnsiCodePage;
using mivra::ProfileFile;


void Require(bool condition) {
    if (!condition) std::abort();
}

bool IsBlank(wchar_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1A; }

std::wstring UpToNul(const std::wstring& text) { return text.substr(0, text.find(L'\0')); }

// A name or value as the system takes it: up to a NUL, trimmed.
std::wstring AsTaken(std::wstring text) {
    text = UpToNul(text);
    while (!text.empty() && IsBlank(text.back())) text.pop_back();
    size_t first = 0;
    while (first < text.size() && IsBlank(text[first])) ++first;
    return text.substr(first);
}

// Lines as the file's bytes split them, each with its break.
std::vector<std::string_view> LinesOf(std::string_view bytes) {
    std::vector<std::string_view> lines;
    for (size_t pos = 0; pos < bytes.size();) {
        size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = bytes.size();
        else end += (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1;
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end;
    }
    return lines;
}

// How many lines differ between two files, once the lines they share at the
// start and at the end are set aside (the old last line may have gained a
// break).
std::pair<size_t, size_t> ChangedLines(std::string_view before, std::string_view after) {
    const auto a = LinesOf(before), b = LinesOf(after);
    auto same = [&](size_t i, size_t j) {
        if (a[i] == b[j]) return true;
        const bool lastWithoutBreak = i + 1 == a.size() && a[i].find_first_of("\r\n") == std::string_view::npos;
        return lastWithoutBreak && b[j].starts_with(a[i]) && b[j].find_first_not_of("\r\n", a[i].size()) == std::string_view::npos;
    };
    size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && same(prefix, prefix)) ++prefix;
    size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix && same(a.size() - 1 - suffix, b.size() - 1 - suffix))
        ++suffix;
    return {a.size() - prefix - suffix, b.size() - prefix - suffix};
}

// How many whole lines of `before`, in one run, were taken out to give
// `after`; nullopt when `after` is anything else. Lines are compared as bytes,
// so a lone CR before the run and an LF after it may come to read as one break
// without counting as a change.
std::optional<size_t> LinesTakenOut(std::string_view before, std::string_view after) {
    if (after.size() > before.size()) return std::nullopt;
    const size_t gone = before.size() - after.size();
    if (gone == 0) return before == after ? std::optional<size_t>(0) : std::nullopt;
    size_t same = 0;
    while (same < after.size() && before[same] == after[same]) ++same;
    size_t sameAtEnd = 0;
    while (sameAtEnd < after.size() && before[before.size() - 1 - sameAtEnd] == after[after.size() - 1 - sameAtEnd]) ++sameAtEnd;
    const auto lines = LinesOf(before);
    size_t start = 0;
    for (size_t first = 0; first < lines.size() && start <= same; start += lines[first++].size()) {
        if (after.size() - start > sameAtEnd) continue;
        size_t length = 0, count = 0;
        while (length < gone && first + count < lines.size()) length += lines[first + count++].size();
        if (length == gone) return count;
    }
    return std::nullopt;
}

void RequireSameReads(const AnsiCodePage& codePage, const ProfileFile& file, const std::vector<std::wstring>& names) {
    const ProfileFile reread(codePage, file.Bytes());
    const auto sections = file.SectionNames();
    Require(sections == reread.SectionNames());
    std::vector<std::wstring> all = names;
    all.insert(all.end(), sections.begin(), sections.end());
    all.emplace_back();
    for (const auto& section : all) {
        const auto keys = file.KeyNames(section);
        Require(keys == reread.KeyNames(section));
        Require(file.HasSection(section) == reread.HasSection(section));
        for (const auto& list : {keys, names}) {
            for (const auto& key : list) {
                Require(file.Get(section, key) == reread.Get(section, key));
                Require(file.GetInt(section, key, -7) == reread.GetInt(section, key, -7));
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const mivra::test::IconvCodePage gbk("CP936");
    static const mivra::test::GreedyDbcsCodePage greedy;
    FuzzedDataProvider input(data, size);
    const bool isGreedy = input.ConsumeBool();
    const AnsiCodePage& codePage = isGreedy ? greedy : static_cast<const AnsiCodePage&>(gbk);

    struct Write {
        int kind;
        std::wstring section, key, value;
        std::vector<std::string> lines;
    };
    std::vector<Write> writes(input.ConsumeIntegralInRange(0, 4));
    std::vector<std::wstring> names;
    for (auto& w : writes) {
        w.kind = input.ConsumeIntegralInRange(0, 3);
        w.section = codePage.FromAnsi(input.ConsumeRandomLengthString(12));
        w.key = codePage.FromAnsi(input.ConsumeRandomLengthString(12));
        w.value = codePage.FromAnsi(input.ConsumeRandomLengthString(24));
        for (int n = input.ConsumeIntegralInRange(0, 2); n > 0; --n) w.lines.push_back(input.ConsumeRandomLengthString(16));
        names.push_back(w.section);
        names.push_back(w.key);
    }
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    ProfileFile file(codePage, bytes);
    Require(file.Bytes() == bytes);
    (void)mivra::ProfileIntOf(codePage.FromAnsi(bytes.substr(0, 40)));
    RequireSameReads(codePage, file, names);

    // Any change also drops or rewrites odd lines (see ProfileFile.h), so line
    // counts hold only without lines that start with "=", hold a NUL, or are
    // headers without a name.
    auto hasOddLines = [](std::string_view text) {
        if (text.find('\0') != std::string_view::npos) return true;
        for (std::string_view line : LinesOf(text)) {
            const size_t first = line.find_first_not_of(" \t\x0b\x0c\x1a");
            if (first == std::string_view::npos) continue;
            if (line[first] == '=') return true;
            const size_t close = line.find_first_not_of(" \t\x0b\x0c\x1a", first + 1);
            if (line[first] == '[' && close != std::string_view::npos && line[close] == ']') return true;
        }
        return false;
    };
    auto hasGroupLines = [](std::string_view text) {
        for (std::string_view line : LinesOf(text)) {
            while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
            if (!line.empty() && line.back() == ',') return true;
        }
        return false;
    };
    auto kept = [&](const std::wstring& text) { return codePage.FromAnsi(codePage.ToAnsi(text)) == text; };
    auto hasBreak = [](const std::wstring& text) { return text.find_first_of(L"\r\n") != std::wstring::npos; };

    for (const auto& w : writes) {
        const std::string before = file.Bytes();
        const bool existed = file.Get(w.section, w.key).has_value();
        switch (w.kind) {
            case 0: {
                file.Set(w.section, w.key, w.value);
                // New names keep their trailing blanks, line breaks included;
                // a rewritten odd line can come to hide the key.
                const std::wstring section = AsTaken(w.section), key = AsTaken(w.key), value = AsTaken(w.value);
                if (!hasOddLines(before) && !hasBreak(UpToNul(w.section)) && !hasBreak(UpToNul(w.key)) && !hasBreak(value) && kept(section) &&
                    kept(key) && kept(value) && !key.empty() && key[0] != L'[' && key.find(L'=') == std::wstring::npos) {
                    const bool quoted = value.size() >= 2 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0];
                    Require(file.Get(section, key) == (quoted ? value.substr(1, value.size() - 2) : value));
                }
                if (!isGreedy && existed && !hasBreak(UpToNul(w.value)) && !hasOddLines(before)) {
                    const auto [removed, added] = ChangedLines(before, file.Bytes());
                    Require(removed <= 1 && added <= 1);
                }
                break;
            }
            case 1:
                file.DeleteKey(w.section, w.key);
                if (!isGreedy && !hasOddLines(before)) {
                    const auto taken = LinesTakenOut(before, file.Bytes());
                    Require(taken.has_value() && *taken <= 1);
                }
                break;
            case 2:
                file.DeleteSection(w.section);
                // Group lines (ending with ",") stay where they were: the run
                // taken out is whole only without them.
                if (!isGreedy && !hasOddLines(before) && !hasGroupLines(before))
                    Require(LinesTakenOut(before, file.Bytes()).has_value());
                break;
            default:
                file.ReplaceSection(w.section, w.lines);
                break;
        }
        RequireSameReads(codePage, file, names);
    }
    return 0;
}
