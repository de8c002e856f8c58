#pragma once
// An INI file read and written the way the system's private-profile functions
// read and write it, but in memory: the whole file is parsed once, changed,
// and written back at once by the caller.
//
// Reading follows the private-profile rules:
// - Lines end at CR LF, LF or a lone CR; blank lines count for nothing.
// - Names and values are trimmed of tabs, spaces, CR, LF, VT, FF and ^Z
//   (not of the ideographic space), then end at a NUL.
// - "[name]" opens a section: the name runs to the last "]" and is trimmed;
//   text after that "]" is ignored. A "[" line without "]" is a key line.
// - Section and key names compare without regard to letter case.
// - The first section of a name wins: later sections of the same name stay
//   in the file and in SectionNames, but reads never see their keys.
// - The first key line of a name wins, even a line without "=": such a line
//   is a key without a value, and hides later lines of the same name.
// - A value in matching quotes (" or ') loses them.
// - Keys before any section belong to a nameless section, section "".
// - A key line starting with "=" (empty name) is dropped when the key before
//   it in its section also has an empty name.
// Writing changes only the lines it must: every other line is kept byte for
// byte, line breaks included. Only, as the system writes back what it read,
// a write that changes anything also drops the lines dropped on reading,
// rewrites lines holding a NUL as they read, and removes the header of
// sections without a name (their keys join the section before).
// Unlike the system, a write never drops or rewrites a group line (a line
// ending with ","): the program reads those wherever they stand, and only
// the writer of the groups (RemoveGroupLinesOutside, ReplaceSection) changes
// them. A key written where a group line has its name goes before
// that line; a key or section removed leaves its group lines.
//
// Reads build an index of the file on first use after a write; the object is
// not safe to share between threads without a lock.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/ProfileIndex.h"
#include "config/ProfileInt.h"  // ProfileIntOf, read as GetInt reads
#include "config/ProfileLines.h"
#include "text/AnsiCodePage.h"

namespace mivra {

class ProfileFile {
public:
    // `bytes` is the file's content in the ANSI code page.
    ProfileFile(const AnsiCodePage& codePage, std::string bytes);

    // What GetPrivateProfileString gives for the key (quotes removed), or
    // nullopt when the section or the key is missing or the key has no "=".
    // Both names are trimmed first.
    std::optional<std::wstring> Get(std::wstring_view section, std::wstring_view key) const;

    // GetPrivateProfileInt on the same value: an empty value gives the
    // default too.
    int GetInt(std::wstring_view section, std::wstring_view key, int defaultValue) const;

    // Every section header in file order, with duplicates, as the system
    // lists them; headers with an empty name are left out.
    std::vector<std::wstring> SectionNames() const;
    // The keys with "=" of the first section of that name (compared as given,
    // not trimmed), duplicates included, except those starting with ";".
    std::vector<std::wstring> KeyNames(std::wstring_view section) const;
    // Whether SectionNames has this (trimmed) name.
    bool HasSection(std::wstring_view section) const;

    // WritePrivateProfileString(section, key, value): names are looked up
    // trimmed; the key is changed where it stands or added at the end of the
    // first section of that name, or a new section is added at the end of the
    // file. New names and the value are written without their leading
    // blanks. Returns false when the code page cannot represent the text (it
    // is then stored with "?").
    bool Set(std::wstring_view section, std::wstring_view key, std::wstring_view value);
    // WritePrivateProfileString(section, key, NULL): removes the first line
    // of that key in the first section of that name that has it. Names are
    // compared as given, not trimmed.
    void DeleteKey(std::wstring_view section, std::wstring_view key);
    // WritePrivateProfileString(section, NULL, NULL): removes the first
    // section of that name (compared as given), header and body.
    void DeleteSection(std::wstring_view section);

    // Replaces the whole body of a section with `lines` (ANSI bytes, without
    // line breaks), keeping the section where it stands; a missing section is
    // added at the end, unless `lines` is empty. Later sections of the same
    // name are emptied, as WritePrivateProfileSection does. For writers that
    // rewrite a section whole at once.
    void ReplaceSection(std::wstring_view section, const std::vector<std::string>& lines);
    // The same for a writer that makes the lines itself: `writeLines`
    // appends them to `out`, each followed by `lineBreak`; `none` tells that
    // it writes no line. It is called at most once.
    using LineWriter = std::function<void(std::string& out, std::string_view lineBreak)>;
    void ReplaceSection(std::wstring_view section, bool none, const LineWriter& writeLines);

    // Removes every group line (ending with ",") that does not stand in the
    // body of the first section of that name, for a writer that is about to
    // write every group into that body; a section header that is one is
    // written back as a plain header.
    void RemoveGroupLinesOutside(std::wstring_view section);

    // Grows with every change of the bytes, so that a caller can tell
    // whether there is anything to write without comparing the file.
    std::uint64_t Revision() const { return lines_.Revision(); }

    // The file as it stands now, in the ANSI code page.
    const std::string& Bytes() const { return lines_.Bytes(); }

private:
    using Line = ProfileLines::Line;
    using Kind = ProfileLines::Kind;
    using Edit = ProfileLines::Edit;
    using Block = ProfileIndex::Block;
    static constexpr size_t npos = ProfileLines::npos;

    // The index, brought up to date with the lines first.
    const ProfileIndex& Indexed() const;
    size_t FindBlock(std::wstring_view name) const { return Indexed().FindBlock(lines_, name); }
    size_t FindKey(size_t block, std::wstring_view name) const { return Indexed().FindKey(lines_, block, name); }
    std::wstring_view BlockName(const Block& block) const { return ProfileIndex::BlockName(lines_, block); }

    std::string KeyLine(const Line& line, std::string_view valueBytes) const;
    void BeginChange();
    void EndChange();

    ProfileLines lines_;
    mutable ProfileIndex index_;
};

}  // namespace mivra
