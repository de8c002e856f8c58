// Our INI engine against the system's private-profile functions, on files made
// by a seeded random generator: what each reads from a file, and what each
// reads after the same writes (ours written out as file B, the system's
// applied to file A).
//
// Names vary in letter case only in ASCII: the system here (Wine) folds ASCII
// letters only, where Windows and our engine fold other scripts too.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <optional>
#include <random>
#include <set>
#include <sstream>

#include "base/WinCodePage.h"
#include "config/ProfileFile.h"
#include "support/TestSupport.h"

namespace mivra::test {
namespace {

using namespace std::string_literals;

constexpr std::wstring_view kMissing = L"\x01missing";
constexpr int kIntDefault = -7777;

// The system's reads of one file.
class SystemReader {
public:
    SystemReader(const std::filesystem::path& path, size_t capacity) : path_(path.wstring()), buffer_(capacity + 4096) {}

    std::optional<std::wstring> Get(const std::wstring& section, const std::wstring& key) {
        std::wstring value = Read(section.c_str(), key.c_str());
        if (value == kMissing) return std::nullopt;
        return value;
    }
    int GetInt(const std::wstring& section, const std::wstring& key) {
        return static_cast<int>(GetPrivateProfileIntW(section.c_str(), key.c_str(), kIntDefault, path_.c_str()));
    }
    // The lists as the system gives them: names each ended by a NUL.
    std::wstring Sections() {
        const DWORD n = GetPrivateProfileSectionNamesW(buffer_.data(), static_cast<DWORD>(buffer_.size()), path_.c_str());
        return {buffer_.data(), n};
    }
    std::wstring SectionsThroughGetString() { return Read(nullptr, nullptr); }
    std::wstring Keys(const std::wstring& section) { return Read(section.c_str(), nullptr); }

private:
    std::wstring Read(const wchar_t* section, const wchar_t* key) {
        const std::wstring fallback(kMissing);
        const DWORD n = GetPrivateProfileStringW(section, key, fallback.c_str(), buffer_.data(),
                                                 static_cast<DWORD>(buffer_.size()), path_.c_str());
        return {buffer_.data(), n};
    }

    std::wstring path_;
    std::vector<wchar_t> buffer_;
};

std::wstring SectionList(const ProfileFile& file) {
    std::wstring out;
    for (const auto& name : file.SectionNames()) out += name + L'\0';
    return out;
}

// A list the caller cannot tell from an empty one reads as the default.
std::wstring KeyList(const ProfileFile& file, const std::wstring& section) {
    std::wstring out;
    for (const auto& name : file.KeyNames(section)) out += name + L'\0';
    return out.empty() || out[0] == L'\0' ? std::wstring(kMissing) : out;
}

std::string Escaped(std::string_view bytes, size_t limit = 4000) {
    std::ostringstream out;
    for (unsigned char c : bytes.substr(0, limit)) {
        if (c == '\\') out << "\\\\";
        else if (c >= 0x20 && c < 0x7F) out << c;
        else out << "\\x" << "0123456789abcdef"[c >> 4] << "0123456789abcdef"[c & 15];
    }
    if (bytes.size() > limit) out << "... (" << bytes.size() << " bytes)";
    return out.str();
}

std::string Escaped(const std::wstring& text) { return Escaped(win::SystemCodePage().ToAnsi(text), 200); }

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }
    bool Chance(int percent) { return static_cast<int>(Below(100)) < percent; }
    template <class List> const auto& Pick(const List& list) { return list[Below(std::size(list))]; }

    // Letter case changes in ASCII only (see above).
    std::wstring VaryCase(std::wstring name) {
        for (wchar_t& c : name)
            if (c < 0x80 && iswalpha(c) && Chance(40)) c = iswupper(c) ? towlower(c) : towupper(c);
        return name;
    }
    std::wstring Pad(const std::wstring& text) {
        static const std::wstring pads[] = {L"", L"", L"", L" ", L"\t", L" \t ", L"\x0b", L"\x1a"};
        return Pick(pads) + text + Pick(pads);
    }
    std::wstring LongText() {
        static const std::wstring pieces[] = {L"QUJDRA==", L"abc ", L"中文", L"ｆｕｌｌ", L"x=y;"};
        std::wstring out;
        const size_t size = 1 + Below(Chance(50) ? 1000 : 65000);
        while (out.size() < size) out += Pick(pieces);
        return out;
    }

private:
    std::mt19937 random_;
};

const std::wstring kNames[] = {
    L"Config", L"Data", L"Main", L"a", L"key", L"Width", L"x y", L"k1", L"设置", L"中文名", L"盷", L"盵文",
    L"ＭＩＶＲＡ", L"αβγ", L"привет", L"café", L";note", L"a]b", L"[x", L"Path",
};
const std::wstring kValues[] = {
    L"1", L"-5", L"0x1F", L"0X1a", L"0b101", L"0o17", L"+7", L"12abc", L"abc", L"99999999999", L"\"42\"", L"'x'",
    L"\"", L"\"\"", L"", L"中文值", L"a=b", L"C:\\Program Files\\Mivra\\a.exe", L"盷盵]", L"ｆｕｌｌ", L" spaced  out ",
    L"\"" + std::wstring(29, L'1') + L"\"", L"[Data]", L";x",
};

// One generated file: its bytes, and the names it uses (for queries).
struct GeneratedFile {
    std::string bytes;
    std::vector<std::wstring> sections, keys;
};

GeneratedFile Generate(Generator& g) {
    const AnsiCodePage& cp = win::SystemCodePage();
    static const std::string breaks[] = {"\r\n", "\n", "\r"};
    const std::string mainBreak = g.Pick(breaks);
    GeneratedFile file;
    auto line = [&](const std::string& content) {
        file.bytes += content;
        file.bytes += g.Chance(85) ? mainBreak : g.Pick(breaks);
    };
    auto keyLine = [&] {
        const std::wstring key = g.Chance(70) ? g.Pick(kNames) : L"key" + std::to_wstring(g.Below(5));
        file.keys.push_back(key);
        const std::wstring name = g.Pad(g.VaryCase(key));
        const size_t kind = g.Below(100);
        if (kind < 60) return line(cp.ToAnsi(name + L"=" + g.Pad(g.Pick(kValues))));
        if (kind < 66) return line(cp.ToAnsi(name));                                  // no "="
        if (kind < 70) return line(cp.ToAnsi(name + L"=" + g.LongText()));            // long line
        if (kind < 74) return line(cp.ToAnsi(L";" + name + L"=c"));                   // comment
        if (kind < 80) return line(g.Pick(std::vector<std::string>{"", "  ", "\t"}));  // blank
        if (kind < 85) return line(cp.ToAnsi(g.Pad(L"=" + g.Pick(kValues))));          // empty name
        if (kind < 89) return line(cp.ToAnsi(name + L"=") + "v\0w"s);                // NUL
        if (kind < 92) return line(cp.ToAnsi(name + L"=v") + "\x81");                 // dangling lead byte
        if (kind < 94) return line(cp.ToAnsi(name) + "\x81=1");                       // lead byte eats "="
        return line(cp.ToAnsi(name + L"=" + g.Pick(kValues)));
    };
    for (size_t n = g.Chance(30) ? 1 + g.Below(3) : 0; n > 0; --n) keyLine();  // before any section
    for (size_t s = g.Below(7); s > 0; --s) {
        const std::wstring section = g.Pick(kNames);
        file.sections.push_back(section);
        const std::wstring name = g.VaryCase(section);
        switch (g.Below(12)) {
            case 0: line(cp.ToAnsi(L" [ " + name + L" ] junk")); break;
            case 1: line(cp.ToAnsi(L"[" + name + L"]]")); break;
            case 2: line(g.Pick(std::vector<std::string>{"[]", "[ ]", "[\0x]"s})); break;
            case 3: line(cp.ToAnsi(L"[" + name)); break;  // no "]": a key line
            default: line(cp.ToAnsi(L"\t[" + name + L"]")); break;
        }
        for (size_t k = g.Below(9); k > 0; --k) keyLine();
    }
    if (g.Chance(25) && !file.bytes.empty()) file.bytes.erase(file.bytes.find_last_not_of("\r\n") + 1);
    // A byte-order mark would make the system read another encoding.
    for (std::string_view bom : {"\xef\xbb\xbf", "\xff\xfe", "\xfe\xff"})
        if (file.bytes.starts_with(bom)) file.bytes.insert(0, "\r\n");
    return file;
}

class ProfileDifferential : public ::testing::Test {
protected:
    ScratchDir dir{L"mivra-profile"};
    int fileNumber = 0;

    std::filesystem::path NewFile(std::string_view bytes) {
        // A new name each time: the system caches files by name and time stamp.
        auto path = dir / (L"f" + std::to_wstring(++fileNumber) + L".ini");
        WriteBytes(path, bytes);
        return path;
    }

    // Compares every read of the engine with the same read of each file.
    void CompareReads(const ProfileFile& engine, std::vector<SystemReader*> readers,
                      const std::vector<std::wstring>& sections, const std::vector<std::wstring>& keys, Generator& g) {
        const std::wstring sectionList = SectionList(engine);
        for (SystemReader* reader : readers) {
            EXPECT_EQ(reader->Sections(), sectionList);
            EXPECT_EQ(reader->SectionsThroughGetString(), sectionList);
        }
        // Every section the engine lists, a few others and variants of their names.
        auto sample = [&g](std::vector<std::wstring>& into, const std::vector<std::wstring>& from, size_t count) {
            for (size_t i = 0; i < count && !from.empty(); ++i) into.push_back(from[g.Below(from.size())]);
        };
        std::vector<std::wstring> query = engine.SectionNames();
        sample(query, sections, 3);
        const std::vector<std::wstring> named = query;
        query.insert(query.end(), {L"", L"Missing"});
        for (size_t i = 0; i < 2 && !named.empty(); ++i) {
            query.push_back(g.VaryCase(named[g.Below(named.size())]));
            query.push_back(L" " + named[g.Below(named.size())] + L"\t");
        }
        std::sort(query.begin(), query.end());
        query.erase(std::unique(query.begin(), query.end()), query.end());
        for (const auto& section : query) {
            SCOPED_TRACE("section " + Escaped(section));
            const std::wstring keyList = KeyList(engine, section);
            for (SystemReader* reader : readers) EXPECT_EQ(reader->Keys(section), keyList);
            std::vector<std::wstring> names = engine.KeyNames(section);
            sample(names, keys, 4);
            const std::vector<std::wstring> known = names;
            names.insert(names.end(), {L"", L"Missing"});
            if (!known.empty()) {
                names.push_back(g.VaryCase(known[g.Below(known.size())]));
                names.push_back(L"\t" + known[g.Below(known.size())] + L" ");
            }
            std::sort(names.begin(), names.end());
            names.erase(std::unique(names.begin(), names.end()), names.end());
            for (const auto& key : names) {
                const auto value = engine.Get(section, key);
                const int number = engine.GetInt(section, key, kIntDefault);
                for (SystemReader* reader : readers) {
                    EXPECT_EQ(reader->Get(section, key), value) << "key " << Escaped(key);
                    EXPECT_EQ(reader->GetInt(section, key), number) << "key " << Escaped(key);
                }
            }
        }
    }
};

TEST_F(ProfileDifferential, ReadsAndWritesAgreeWithTheSystem) {
    const AnsiCodePage& cp = win::SystemCodePage();
    for (unsigned seed = 1; seed <= 220 && !HasFailure(); ++seed) {
        Generator g(seed);
        const GeneratedFile generated = Generate(g);
        std::ostringstream story;
        story << "seed " << seed << ", file \"" << Escaped(generated.bytes) << "\"";
        SCOPED_TRACE(story.str());

        const auto fileA = NewFile(generated.bytes);
        ProfileFile engine(cp, generated.bytes);
        {
            SystemReader original(fileA, generated.bytes.size());
            CompareReads(engine, {&original}, generated.sections, generated.keys, g);
        }

        // The same writes through the engine and through the system on file A.
        std::vector<std::wstring> sections = generated.sections, keys = generated.keys;
        std::ostringstream writes;
        for (size_t n = 1 + g.Below(6); n > 0; --n) {
            const auto existing = engine.SectionNames();
            std::wstring section = g.Chance(15)                      ? std::wstring()
                                   : g.Chance(70) && !existing.empty() ? g.Pick(existing)
                                                                      : g.Pick(kNames);
            const auto existingKeys = engine.KeyNames(section);
            std::wstring key = g.Chance(60) && !existingKeys.empty() ? g.Pick(existingKeys) : g.Pick(kNames);
            if (g.Chance(40)) section = g.VaryCase(section);
            if (g.Chance(40)) key = g.VaryCase(key);
            const size_t kind = g.Below(10);
            if (kind < 5) {
                if (g.Chance(20)) section = g.Pad(section);
                if (g.Chance(20)) key = g.Pad(key);
                std::wstring value = g.Pad(g.Pick(kValues));
                if (g.Chance(5)) value = L"two\r\nlines=2";
                if (g.Chance(5)) value = L"cut\0off"s;
                if (g.Chance(5)) value = L"\x0e01 Thai";
                if (g.Chance(5)) value = g.LongText();
                writes << "Set(" << Escaped(section) << ", " << Escaped(key) << ", " << Escaped(value) << ") ";
                engine.Set(section, key, value);
                WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), fileA.c_str());
            } else if (kind < 7) {
                if (g.Chance(20)) key = g.Pad(key);
                writes << "DeleteKey(" << Escaped(section) << ", " << Escaped(key) << ") ";
                engine.DeleteKey(section, key);
                WritePrivateProfileStringW(section.c_str(), key.c_str(), nullptr, fileA.c_str());
            } else if (kind < 8) {
                writes << "DeleteSection(" << Escaped(section) << ") ";
                engine.DeleteSection(section);
                WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, fileA.c_str());
            } else {
                // The system takes only "key=value" lines; its names are not trimmed.
                if (section.empty()) section = g.Pick(kNames);
                std::vector<std::string> lines;
                std::wstring list;
                for (size_t i = g.Below(4); i > 0; --i) {
                    const std::wstring text = g.Pick(kNames) + L"=" + g.Pick(kValues);
                    lines.push_back(cp.ToAnsi(text));
                    list += text + L'\0';
                    keys.push_back(text.substr(0, text.find(L'=')));
                }
                list += L'\0';
                writes << "ReplaceSection(" << Escaped(section) << ", " << lines.size() << " lines) ";
                engine.ReplaceSection(section, lines);
                WritePrivateProfileSectionW(section.c_str(), list.c_str(), fileA.c_str());
            }
            sections.push_back(section);
            keys.push_back(key);
        }
        SCOPED_TRACE("writes " + writes.str());

        const std::string bytesA = ReadBytes(fileA);
        SCOPED_TRACE("file A \"" + Escaped(bytesA) + "\", file B \"" + Escaped(engine.Bytes()) + "\"");
        const size_t capacity = std::max(bytesA.size(), engine.Bytes().size());
        SystemReader a(NewFile(bytesA), capacity), b(NewFile(engine.Bytes()), capacity);
        CompareReads(engine, {&a, &b}, sections, keys, g);
    }
}

}  // namespace
}  // namespace mivra::test
