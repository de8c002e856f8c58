#include "config/ProfileFile.h"

#include <algorithm>

#include "config/ProfileText.h"
#include "text/ByteScan.h"
#include "text/CaseFold.h"

namespace mivra {
using namespace profile;
namespace {

// The line "[name]" from the name's ANSI bytes (appended rather than joined
// with "+", on which GCC 12 warns falsely).
std::string HeaderLine(std::string_view name) {
    std::string line;
    line.reserve(name.size() + 2);
    line += '[';
    line += name;
    line += ']';
    return line;
}

}  // namespace

ProfileFile::ProfileFile(const AnsiCodePage& codePage, std::string bytes) : lines_(codePage, std::move(bytes)) {}

const ProfileIndex& ProfileFile::Indexed() const {
    index_.Update(lines_);
    return index_;
}

std::optional<std::wstring> ProfileFile::Get(std::wstring_view section, std::wstring_view key) const {
    return Indexed().Get(lines_, section, key);
}

int ProfileFile::GetInt(std::wstring_view section, std::wstring_view key, int defaultValue) const {
    return Indexed().GetInt(lines_, section, key, defaultValue);
}

std::vector<std::wstring> ProfileFile::SectionNames() const { return Indexed().SectionNames(lines_); }

std::vector<std::wstring> ProfileFile::KeyNames(std::wstring_view section) const {
    return Indexed().KeyNames(lines_, section);
}

bool ProfileFile::HasSection(std::wstring_view section) const { return Indexed().HasSection(lines_, section); }

bool ProfileFile::Set(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    // Names are looked up trimmed but written, like the value, with only their
    // leading blanks dropped, as the system writes them: a trailing blank can
    // matter where a key line reads as a header.
    const std::wstring_view sectionName = TrimLeft(UpToNul(section)), keyName = TrimLeft(UpToNul(key));
    const std::wstring_view s = TrimRight(sectionName), k = TrimRight(keyName), v = TrimLeft(UpToNul(value));
    bool lossy = false;
    const std::string valueBytes = lines_.CodePage().ToAnsi(v, &lossy);
    auto find = [&] {
        const size_t b = FindBlock(s);
        return std::pair(b, b == npos ? npos : FindKey(b, k));
    };
    auto [b, i] = find();
    if (i != npos && lines_[i].kind == Kind::Key && lines_[i].valueSize == v.size() && lines_.ValueText(lines_[i]) == v)
        return !lossy;
    BeginChange();
    std::tie(b, i) = find();
    if (i != npos && !lines_.IsGroupLine(lines_[i])) {
        lines_.ReplaceLines(i, 1, KeyLine(lines_[i], valueBytes), lines_[i].lineBreak);
        EndChange();
        return !lossy;
    }
    std::string line = lines_.CodePage().ToAnsi(keyName, &lossy);
    line += '=';
    line += valueBytes;
    line += lines_.NewLine();
    if (i != npos) {
        // A group line of that name stays; the new line goes before it, where
        // reads find it first.
        lines_.Splice(i, 0, line);
    } else if (b != npos) {
        const Block& block = Indexed().Blocks()[b];
        const size_t after = block.lastLine != npos ? block.lastLine : block.header;
        if (after == npos) {
            lines_.Splice(0, 0, line);  // the nameless section, at the top
        } else {
            lines_.EndWithBreak(after);
            lines_.Splice(after + 1, 0, line);
        }
    } else {
        std::string text = HeaderLine(lines_.CodePage().ToAnsi(sectionName, &lossy));
        text += lines_.NewLine();
        text += line;
        if (!lines_.empty()) lines_.EndWithBreak(lines_.size() - 1);
        lines_.Splice(lines_.size(), 0, text);
    }
    EndChange();
    return !lossy;
}

void ProfileFile::DeleteKey(std::wstring_view section, std::wstring_view key) {
    const std::wstring_view s = UpToNul(section), k = UpToNul(key);
    // Unlike a read, the search goes on into later sections of the same name.
    auto find = [&] {
        const ProfileIndex& ix = Indexed();
        for (size_t b = FindBlock(s); b != npos && b < ix.Blocks().size(); ++b) {
            if (!EqualsFolded(BlockName(ix.Blocks()[b]), s)) continue;
            const size_t i = FindKey(b, k);
            if (i == npos) continue;
            if (!lines_.IsGroupLine(lines_[i])) return i;
            // A group line of that name is not the key's to remove: a later line is.
            for (size_t j = i + 1; j < ix.Blocks()[b].end; ++j)
                if ((lines_[j].kind == Kind::Key || lines_[j].kind == Kind::Text) && !lines_.IsGroupLine(lines_[j]) &&
                    !ix.IsDropped(j) && EqualsFolded(lines_.NameOf(lines_[j]), k))
                    return j;
        }
        return npos;
    };
    if (find() == npos) return;
    BeginChange();
    lines_.EraseLines(find(), 1);
    EndChange();
}

void ProfileFile::DeleteSection(std::wstring_view section) {
    const std::wstring_view s = UpToNul(section);
    if (FindBlock(s) == npos) return;
    BeginChange();
    const Block block = index_.Blocks()[FindBlock(s)];
    const size_t first = block.header == npos ? 0 : block.header;
    // Group lines stay where they were, in the section before.
    lines_.Rebuild([&](size_t i, std::string&) {
        return i >= first && i < block.end && !lines_.IsGroupLine(lines_[i]) ? Edit::Drop : Edit::Keep;
    });
    EndChange();
}

void ProfileFile::ReplaceSection(std::wstring_view section, const std::vector<std::string>& lines) {
    ReplaceSection(section, lines.empty(), [&](std::string& out, std::string_view lineBreak) {
        for (const std::string& line : lines) {
            out += line;
            out += lineBreak;
        }
    });
}

void ProfileFile::ReplaceSection(std::wstring_view section, bool none, const LineWriter& writeLines) {
    const std::wstring_view sectionName = TrimLeft(UpToNul(section)), s = TrimRight(sectionName);
    // The body goes straight into the new file.
    auto writeBody = [&](std::string& out) { writeLines(out, lines_.NewLine()); };
    // As the system, which writes nothing when no key goes or comes.
    auto hasKeys = [&](const Block& block) { return block.lastLine != npos; };
    size_t b = FindBlock(s);
    if (none) {
        bool any = false;
        for (size_t c = b; c != npos && c < index_.Blocks().size() && !any; ++c)
            any = (c == b || !s.empty()) && EqualsFolded(BlockName(index_.Blocks()[c]), s) &&
                  hasKeys(index_.Blocks()[c]);
        if (!any) return;
    }
    BeginChange();
    b = FindBlock(s);
    if (b == npos) {
        const std::string header = HeaderLine(lines_.CodePage().ToAnsi(sectionName));
        if (!lines_.empty()) lines_.EndWithBreak(lines_.size() - 1);
        lines_.SpliceWith(lines_.size(), 0, [&](std::string& out) {
            out += header;
            out += lines_.NewLine();
            writeBody(out);
        });
    } else {
        const std::vector<Block> blocks = Indexed().Blocks();
        // Later sections of the name first, so that line numbers before them hold.
        for (size_t c = blocks.size() - 1; c > b && !s.empty(); --c)
            if (EqualsFolded(BlockName(blocks[c]), s))
                lines_.EraseLines(blocks[c].begin, blocks[c].end - blocks[c].begin);
        // The body ends at its last non-blank line: blank lines before the next
        // header stay where they are.
        const Block& block = blocks[b];
        const size_t count = hasKeys(block) ? block.lastLine + 1 - block.begin : 0;
        if (count == 0 && block.header != npos) lines_.EndWithBreak(block.header);
        lines_.SpliceWith(block.begin, count, writeBody);
    }
    EndChange();
}

// The line that gives an existing key line (or a line without "=") a new
// value. It keeps the line's own bytes up to the value, so that "name = old"
// becomes "name = new"; where those bytes would read differently once joined
// to the value, it is written afresh, as the system writes it. So is a name
// starting with "[": with a "]" in the value the line reads as a header, and
// its spacing would be part of the section's name.
std::string ProfileFile::KeyLine(const Line& line, std::string_view valueBytes) const {
    const std::string_view raw = lines_.RawOf(line);
    auto readsAsPrefix = [&](std::string_view prefix) {
        if (scan::IsAscii(prefix)) return true;
        const std::wstring text = lines_.CodePage().FromAnsi(prefix);
        return !text.empty() && text.back() == L'=' && std::count(text.begin(), text.end(), L'=') == 1;
    };
    std::string out;
    if (lines_.NameOf(line).starts_with(L'[')) {
        // written afresh below
    } else if (line.kind == Kind::Key) {
        const size_t eq = raw.find('=');
        if (eq != std::string_view::npos && readsAsPrefix(raw.substr(0, eq + 1))) {
            size_t end = eq + 1;
            while (end < raw.size() && IsBlankByte(raw[end])) ++end;
            out = raw.substr(0, end);
        }
    } else if (raw.find('=') == std::string_view::npos) {
        out = raw;
        out += '=';
        if (!readsAsPrefix(out)) out.clear();
    }
    if (out.empty()) {
        out = lines_.CodePage().ToAnsi(lines_.NameOf(line));
        out += '=';
    }
    out += valueBytes;
    return out;
}

// Before a write that changes the file: the system writes back only what it
// read, so lines it dropped go; they must not come back to life when the
// line before them changes. Group lines stay (see the header).
void ProfileFile::BeginChange() {
    const ProfileIndex& ix = Indexed();
    std::vector<char> drop(lines_.size(), 0);
    bool any = false;
    for (const size_t i : ix.Dropped())
        if (!lines_.IsGroupLine(lines_[i])) {
            drop[i] = 1;
            any = true;
        }
    if (any) lines_.Rebuild([&](size_t i, std::string&) { return drop[i] ? Edit::Drop : Edit::Keep; });
}

// After it: the system writes every line afresh, which changes how a few odd
// lines read: a name or value cut at a NUL loses what follows (and trims
// anew), and a section without a name loses its header, so that its keys join
// the section before it. Group lines stay as they are.
void ProfileFile::EndChange() {
    const ProfileIndex& ix = Indexed();
    std::vector<char> rewrite(lines_.size(), 0);
    bool any = false;
    for (const size_t i : ix.Rewritten())
        if (!lines_.IsGroupLine(lines_[i])) {
            rewrite[i] = 1;
            any = true;
        }
    if (!any) return;
    lines_.Rebuild([&](size_t i, std::string& text) {
        if (!rewrite[i]) return Edit::Keep;
        const Line& line = lines_[i];
        if (line.kind == Kind::Section && line.nameSize == 0) return Edit::Drop;
        text = lines_.CodePage().ToAnsi(lines_.NameOf(line));
        if (line.kind == Kind::Section) {
            text = HeaderLine(text);
        } else if (line.kind == Kind::Key) {
            text += '=';
            text += lines_.CodePage().ToAnsi(lines_.ValueText(line));
        }
        // A value cut short at a NUL could end with ",": the line would turn
        // into a group. It stays as it was instead (it reads nearly alike).
        return !text.empty() && text.back() == ',' ? Edit::Keep : Edit::Replace;
    });
}

void ProfileFile::RemoveGroupLinesOutside(std::wstring_view section) {
    const ProfileIndex& ix = Indexed();
    const size_t keep = FindBlock(TrimRight(TrimLeft(UpToNul(section))));
    std::vector<char> edit(lines_.size(), 0);
    bool any = false;
    for (size_t b = 0; b < ix.Blocks().size(); ++b) {
        const Block& block = ix.Blocks()[b];
        if (block.header != npos) any |= edit[block.header] = lines_.IsGroupLine(lines_[block.header]);
        if (b == keep) continue;
        for (size_t i = block.begin; i < block.end; ++i) any |= edit[i] = lines_.IsGroupLine(lines_[i]);
    }
    // Most often every group line stands in the section already.
    if (!any) return;
    lines_.Rebuild([&](size_t i, std::string& text) {
        if (!edit[i]) return Edit::Keep;
        const Line& line = lines_[i];
        if (line.kind != Kind::Section) return Edit::Drop;
        // A header that reads as a group line too (a title that starts with
        // "["): the section stays, under a plain header.
        text = HeaderLine(lines_.CodePage().ToAnsi(lines_.NameOf(line)));
        return Edit::Replace;
    });
}

}  // namespace mivra
