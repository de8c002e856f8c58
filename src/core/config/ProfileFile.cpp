#include "config/ProfileFile.h"

#include <algorithm>

#include "text/ByteScan.h"
#include "text/CaseFold.h"

namespace mivra {
namespace {

// What the system trims: tab, LF, VT, FF, CR, space, and ^Z (an old DOS
// end-of-file mark).
constexpr bool IsBlank(wchar_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1A; }
constexpr bool IsBlankByte(char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1A; }
constexpr bool IsBreakByte(char c) { return c == '\r' || c == '\n'; }

std::wstring_view TrimLeft(std::wstring_view s) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return s.substr(i);
}

std::wstring_view TrimRight(std::wstring_view s) {
    size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1])) --n;
    return s.substr(0, n);
}

std::wstring_view Trim(std::wstring_view s) { return TrimRight(TrimLeft(s)); }

// The system's functions take and keep C strings.
std::wstring_view UpToNul(std::wstring_view s) { return s.substr(0, std::min(s.size(), s.find(L'\0'))); }

bool IsAscii(std::string_view bytes) { return scan::IsAscii(bytes); }

std::uint64_t HashFolded(std::wstring_view s) {
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (wchar_t c : s) {
        h ^= static_cast<std::uint32_t>(FoldCase(c));
        h *= 1099511628211ull;
    }
    return h;
}

std::uint64_t KeySlot(size_t block, std::uint64_t keyHash) { return keyHash ^ ((block + 1) * 0x9E3779B97F4A7C15ull); }

bool IsQuoted(std::wstring_view v) { return v.size() >= 2 && (v[0] == L'"' || v[0] == L'\'') && v.back() == v[0]; }

size_t CountBreaks(std::wstring_view text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }));
}

}  // namespace

ProfileFile::ProfileFile(const AnsiCodePage& codePage, std::string bytes)
    : codePage_(&codePage), raw_(std::move(bytes)) {
    ParseRange(0, raw_.size(), lines_);
    textAtCompaction_ = text_.size();
    for (const Line& line : lines_) {
        if (line.lineBreak != Break::None) {
            newLine_ = line.lineBreak;
            break;
        }
    }
}

// Splits raw_[begin, end) into lines. The bytes are decoded before "[", "]"
// and "=" are looked for, since a DBCS trail byte can be either bracket; and
// since a lead byte can swallow the CR or LF after it, breaks are taken from
// the decoded text too.
//
// Only the part up to the first "=" is decoded when the rest of the line is
// ASCII: every ANSI code page reads ASCII bytes after a whole character as
// themselves, and the long lines of the data section are such lines.
void ProfileFile::ParseRange(size_t begin, size_t end, std::vector<Line>& out) {
    struct Span {
        size_t pos, size, breakSize;
        bool plain;       // read without the rest of its run: head decoded, tail ASCII
        size_t text, textSize, tailSize;
        bool tailNul;
    };
    const char* raw = raw_.data();
    const std::string_view bytes(raw, end);
    std::vector<Span> spans;
    for (size_t pos = begin; pos < end;) {
        const scan::Stop head = scan::FindFirst<'\r', '\n', '='>(bytes, pos);
        scan::Stop tail = head;
        const bool hasEquals = head.at < end && raw[head.at] == '=';
        if (hasEquals) tail = scan::FindFirst<'\r', '\n'>(bytes, head.at + 1);
        const size_t stop = tail.at;
        const size_t breakSize = stop == end ? 0 : (raw[stop] == '\r' && stop + 1 < end && raw[stop + 1] == '\n') ? 2 : 1;
        Span span{pos, stop - pos, breakSize, false, text_.size(), 0, 0, false};
        const size_t headSize = hasEquals ? head.at + 1 - pos : stop - pos;
        const std::string_view headBytes(raw + pos, headSize);
        if (!head.high && !(hasEquals && tail.high)) {
            span.plain = true;
            // A "[" line is read whole: its name runs to the last "]".
            const size_t first = headBytes.find_first_not_of("\t\n\v\f\r \x1a");
            const size_t take = first != std::string_view::npos && headBytes[first] == '[' ? span.size : headSize;
            text_.append(raw + pos, raw + pos + take);
            span.textSize = take;
            span.tailSize = span.size - take;
        } else if (hasEquals && !tail.high) {
            // Only the name is not ASCII (a group title): the "=" must still
            // read as itself, as the first "=" of the line.
            const std::wstring name = codePage_->FromAnsi(headBytes);
            const std::wstring_view t = TrimLeft(name);
            if (!t.empty() && t.back() == L'=' && t.find(L'=') == t.size() - 1 && t[0] != L'[' && CountBreaks(name) == 0) {
                span.plain = true;
                text_ += name;
                span.textSize = name.size();
                span.tailSize = span.size - headSize;
            }
        }
        span.tailNul = span.tailSize > 0 && tail.nul;
        spans.push_back(span);
        pos = stop + breakSize;
    }
    auto breakOf = [](std::string_view bytes) {
        if (bytes.empty()) return Break::None;
        return bytes.size() == 2 ? Break::CrLf : bytes[0] == '\r' ? Break::Cr : Break::Lf;
    };

    for (size_t s = 0; s < spans.size();) {
        if (spans[s].plain) {
            const Span& span = spans[s++];
            AddLine(span.pos, span.size, breakOf({raw + span.pos + span.size, span.breakSize}), span.text,
                    span.textSize, span.tailSize, span.tailNul, out);
            continue;
        }
        size_t runEnd = s;
        size_t breakBytes = 0;
        for (; runEnd < spans.size() && !spans[runEnd].plain; ++runEnd) breakBytes += spans[runEnd].breakSize;
        const size_t from = spans[s].pos;
        const size_t to = spans[runEnd - 1].pos + spans[runEnd - 1].size + spans[runEnd - 1].breakSize;
        const std::wstring decoded = codePage_->FromAnsi({raw + from, to - from});
        if (CountBreaks(decoded) == breakBytes) {
            // Every break survived decoding: lines map one to one.
            size_t at = 0;
            for (; s < runEnd; ++s) {
                const Span& span = spans[s];
                size_t stop = at;
                while (stop < decoded.size() && decoded[stop] != L'\r' && decoded[stop] != L'\n') ++stop;
                const size_t text = text_.size();
                text_.append(decoded, at, stop - at);
                AddLine(span.pos, span.size, breakOf({raw + span.pos + span.size, span.breakSize}), text, stop - at, 0,
                        false, out);
                at = stop + span.breakSize;
            }
            continue;
        }
        // Some break was swallowed: find the real ones line by line. A line can
        // run on past this run, over what looked like other lines. A break
        // byte stands when it decodes as itself; one that was swallowed ended
        // a character, so decoding goes on from the byte after it and never
        // goes over the line again: every byte is decoded about twice.
        size_t pos = from;
        while (pos < to) {
            for (size_t segment = pos;;) {
                size_t e = segment;
                while (e < end && !IsBreakByte(raw[e])) ++e;
                if (e == end) {
                    const std::wstring line = codePage_->FromAnsi({raw + pos, end - pos});
                    const size_t text = text_.size();
                    text_ += line;
                    AddLine(pos, end - pos, Break::None, text, line.size(), 0, false, out);
                    pos = end;
                    break;
                }
                const std::wstring tail = codePage_->FromAnsi({raw + segment, e + 1 - segment});
                if (!tail.empty() && tail.back() == static_cast<wchar_t>(raw[e])) {
                    const size_t size = raw[e] == '\r' && e + 1 < end && raw[e + 1] == '\n' ? 2 : 1;
                    const std::wstring line = codePage_->FromAnsi({raw + pos, e - pos});
                    const size_t text = text_.size();
                    text_ += line;
                    AddLine(pos, e - pos, breakOf({raw + e, size}), text, line.size(), 0, false, out);
                    pos = e + size;
                    break;
                }
                segment = e + 1;
            }
        }
        s = runEnd;
        while (s < spans.size() && spans[s].pos < pos) ++s;
    }
}

// The line's text is text_[text, text + textSize), followed by its last
// `tailSize` raw bytes when those are ASCII after the line's first "="; the
// value then stays in raw_.
void ProfileFile::AddLine(size_t raw, size_t rawSize, Break lineBreak, size_t text, size_t textSize, size_t tailSize,
                          bool tailNul, std::vector<Line>& out) {
    const std::wstring_view content(text_.data() + text, textSize);
    Line line;
    line.raw = raw;
    line.rawSize = rawSize;
    line.lineBreak = lineBreak;
    auto place = [&](std::wstring_view part, size_t& pos, size_t& size) {
        pos = text + static_cast<size_t>(part.data() - content.data());
        size = part.size();
    };
    line.nul = tailNul || content.find(L'\0') != std::wstring_view::npos;
    if (tailSize > 0) {
        // The text ends with the line's first "=" and does not open a section.
        const std::wstring_view t = TrimLeft(content);
        line.kind = Kind::Key;
        line.bareEquals = t.size() == 1;
        place(UpToNul(TrimRight(t.substr(0, t.size() - 1))), line.name, line.nameSize);
        std::string_view value(raw_.data() + raw + rawSize - tailSize, tailSize);
        while (!value.empty() && IsBlankByte(value.front())) value.remove_prefix(1);
        while (!value.empty() && IsBlankByte(value.back())) value.remove_suffix(1);
        if (tailNul) value = value.substr(0, std::min(value.size(), value.find('\0')));
        line.rawValue = true;
        line.value = static_cast<size_t>(value.data() - (raw_.data() + raw));
        line.valueSize = value.size();
        line.hash = HashFolded(NameOf(line));
        out.push_back(line);
        return;
    }
    const std::wstring_view t = Trim(content);
    if (!t.empty()) {
        // "[" opens a section only with a "]" after it; the name runs to the last one.
        const size_t close = t[0] == L'[' ? t.rfind(L']') : npos;
        if (close != npos && close > 0) {
            line.kind = Kind::Section;
            place(UpToNul(Trim(t.substr(1, close - 1))), line.name, line.nameSize);
        } else if (const size_t eq = t.find(L'='); eq != npos) {
            line.kind = Kind::Key;
            line.bareEquals = eq == 0;
            place(UpToNul(TrimRight(t.substr(0, eq))), line.name, line.nameSize);
            place(UpToNul(TrimLeft(t.substr(eq + 1))), line.value, line.valueSize);
        } else {
            line.kind = Kind::Text;
            place(UpToNul(t), line.name, line.nameSize);
        }
        line.hash = HashFolded(NameOf(line));
    }
    out.push_back(line);
}

std::wstring ProfileFile::ValueText(const Line& line) const {
    if (!line.rawValue) return std::wstring(text_, line.value, line.valueSize);
    const char* value = raw_.data() + line.raw + line.value;
    return std::wstring(value, value + line.valueSize);  // ASCII
}

std::wstring_view ProfileFile::BlockName(const Block& block) const {
    return block.header == npos ? std::wstring_view() : NameOf(lines_[block.header]);
}

const ProfileFile::Index& ProfileFile::Indexed() const {
    if (!indexStale_) return index_;
    Index& ix = index_;
    ix.blocks.clear();
    ix.firstBlock.clear();
    ix.firstKey.clear();
    ix.dropped.clear();
    ix.rewritten.clear();
    ix.blocks.push_back({npos, 0, 0, npos});
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.nul || (line.kind == Kind::Section && line.nameSize == 0)) ix.rewritten.push_back(i);
        if (line.kind != Kind::Section) continue;
        ix.blocks.back().end = i;
        ix.blocks.push_back({i, i + 1, i + 1, npos});
    }
    ix.blocks.back().end = lines_.size();
    ix.firstBlock.reserve(ix.blocks.size());
    ix.firstKey.reserve(lines_.size());
    for (size_t b = 0; b < ix.blocks.size(); ++b) {
        Block& block = ix.blocks[b];
        ix.firstBlock.try_emplace(HashFolded(BlockName(block)), b);
        bool havePrevious = false, previousUnnamed = false;
        for (size_t i = block.begin; i < block.end; ++i) {
            const Line& line = lines_[i];
            if (line.kind == Kind::Blank) continue;
            block.lastLine = i;
            // The system keeps only the first of several empty names in a row.
            if (line.bareEquals && havePrevious && previousUnnamed) {
                ix.dropped.push_back(i);
                continue;
            }
            havePrevious = true;
            previousUnnamed = line.nameSize == 0;
            ix.firstKey.try_emplace(KeySlot(b, line.hash), i);
        }
    }
    indexStale_ = false;
    return ix;
}

size_t ProfileFile::FindBlock(std::wstring_view name) const {
    const Index& ix = Indexed();
    const auto it = ix.firstBlock.find(HashFolded(name));
    if (it == ix.firstBlock.end()) return npos;
    if (EqualsFolded(BlockName(ix.blocks[it->second]), name)) return it->second;
    for (size_t b = 0; b < ix.blocks.size(); ++b)  // another name with the same hash
        if (EqualsFolded(BlockName(ix.blocks[b]), name)) return b;
    return npos;
}

size_t ProfileFile::FindKey(size_t block, std::wstring_view name) const {
    const Index& ix = Indexed();
    const auto it = ix.firstKey.find(KeySlot(block, HashFolded(name)));
    if (it == ix.firstKey.end()) return npos;
    const Block& b = ix.blocks[block];
    if (it->second >= b.begin && it->second < b.end && EqualsFolded(NameOf(lines_[it->second]), name)) return it->second;
    for (size_t i = b.begin; i < b.end; ++i) {  // another name with the same slot
        const Line& line = lines_[i];
        if (line.kind != Kind::Key && line.kind != Kind::Text) continue;
        if (std::binary_search(ix.dropped.begin(), ix.dropped.end(), i)) continue;
        if (EqualsFolded(NameOf(line), name)) return i;
    }
    return npos;
}

std::optional<std::wstring> ProfileFile::Get(std::wstring_view section, std::wstring_view key) const {
    const size_t b = FindBlock(Trim(UpToNul(section)));
    const size_t i = b == npos ? npos : FindKey(b, Trim(UpToNul(key)));
    if (i == npos || lines_[i].kind != Kind::Key) return std::nullopt;
    std::wstring value = ValueText(lines_[i]);
    if (IsQuoted(value)) value = value.substr(1, value.size() - 2);
    return value;
}

int ProfileFile::GetInt(std::wstring_view section, std::wstring_view key, int defaultValue) const {
    const size_t b = FindBlock(Trim(UpToNul(section)));
    const size_t i = b == npos ? npos : FindKey(b, Trim(UpToNul(key)));
    if (i == npos || lines_[i].kind != Kind::Key) return defaultValue;
    // The system reads the value into 30 characters, and drops the closing
    // quote only when the value fits, counting the quote as if it did not.
    const std::wstring text = ValueText(lines_[i]);
    std::wstring_view value = text, read;
    if (IsQuoted(value)) {
        value.remove_prefix(1);
        read = value.substr(0, 29);
        if (value.size() <= 30) read.remove_suffix(1);
    } else {
        read = value.substr(0, 29);
    }
    return read.empty() ? defaultValue : ProfileIntOf(read);
}

std::vector<std::wstring> ProfileFile::SectionNames() const {
    std::vector<std::wstring> names;
    for (size_t b = 1; b < Indexed().blocks.size(); ++b) {
        const std::wstring_view name = BlockName(index_.blocks[b]);
        if (!name.empty()) names.emplace_back(name);
    }
    return names;
}

std::vector<std::wstring> ProfileFile::KeyNames(std::wstring_view section) const {
    std::vector<std::wstring> names;
    const size_t b = FindBlock(UpToNul(section));
    if (b == npos) return names;
    const Index& ix = Indexed();
    for (size_t i = ix.blocks[b].begin; i < ix.blocks[b].end; ++i) {
        const Line& line = lines_[i];
        if (line.kind != Kind::Key || std::binary_search(ix.dropped.begin(), ix.dropped.end(), i)) continue;
        const std::wstring_view name = NameOf(line);
        if (!name.empty() && name[0] == L';') continue;  // a comment
        names.emplace_back(name);
    }
    return names;
}

bool ProfileFile::HasSection(std::wstring_view section) const {
    const std::wstring_view name = Trim(UpToNul(section));
    return !name.empty() && FindBlock(name) != npos;
}

bool ProfileFile::Set(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    // Names are looked up trimmed but written, like the value, with only their
    // leading blanks dropped, as the system writes them: a trailing blank can
    // matter where a key line reads as a header.
    const std::wstring_view sectionName = TrimLeft(UpToNul(section)), keyName = TrimLeft(UpToNul(key));
    const std::wstring_view s = TrimRight(sectionName), k = TrimRight(keyName), v = TrimLeft(UpToNul(value));
    bool lossy = false;
    const std::string valueBytes = codePage_->ToAnsi(v, &lossy);
    auto find = [&] {
        const size_t b = FindBlock(s);
        return std::pair(b, b == npos ? npos : FindKey(b, k));
    };
    auto [b, i] = find();
    if (i != npos && lines_[i].kind == Kind::Key && lines_[i].valueSize == v.size() && ValueText(lines_[i]) == v)
        return !lossy;
    BeginChange();
    std::tie(b, i) = find();
    if (i != npos && !IsGroupLine(lines_[i])) {
        ReplaceLines(i, 1, KeyLine(lines_[i], valueBytes), lines_[i].lineBreak);
        EndChange();
        return !lossy;
    }
    std::string line = codePage_->ToAnsi(keyName, &lossy);
    line += '=';
    line += valueBytes;
    line += NewLine();
    if (i != npos) {
        // A group line of that name stays; the new line goes before it, where
        // reads find it first.
        Splice(i, 0, line);
    } else if (b != npos) {
        const Block& block = Indexed().blocks[b];
        const size_t after = block.lastLine != npos ? block.lastLine : block.header;
        if (after == npos) {
            Splice(0, 0, line);  // the nameless section, at the top
        } else {
            EndWithBreak(after);
            Splice(after + 1, 0, line);
        }
    } else {
        std::string text = "[" + codePage_->ToAnsi(sectionName, &lossy) + "]";
        text += NewLine();
        text += line;
        if (!lines_.empty()) EndWithBreak(lines_.size() - 1);
        Splice(lines_.size(), 0, text);
    }
    EndChange();
    return !lossy;
}

void ProfileFile::DeleteKey(std::wstring_view section, std::wstring_view key) {
    const std::wstring_view s = UpToNul(section), k = UpToNul(key);
    // Unlike a read, the search goes on into later sections of the same name.
    auto find = [&] {
        const Index& ix = Indexed();
        for (size_t b = FindBlock(s); b != npos && b < ix.blocks.size(); ++b) {
            if (!EqualsFolded(BlockName(ix.blocks[b]), s)) continue;
            const size_t i = FindKey(b, k);
            if (i == npos) continue;
            if (!IsGroupLine(lines_[i])) return i;
            // A group line of that name is not the key's to remove: a later line is.
            for (size_t j = i + 1; j < ix.blocks[b].end; ++j)
                if ((lines_[j].kind == Kind::Key || lines_[j].kind == Kind::Text) && !IsGroupLine(lines_[j]) &&
                    !std::binary_search(ix.dropped.begin(), ix.dropped.end(), j) && EqualsFolded(NameOf(lines_[j]), k))
                    return j;
        }
        return npos;
    };
    if (find() == npos) return;
    BeginChange();
    EraseLines(find(), 1);
    EndChange();
}

void ProfileFile::DeleteSection(std::wstring_view section) {
    const std::wstring_view s = UpToNul(section);
    if (FindBlock(s) == npos) return;
    BeginChange();
    const Block block = index_.blocks[FindBlock(s)];
    const size_t first = block.header == npos ? 0 : block.header;
    // Group lines stay where they were, in the section before.
    Rebuild([&](size_t i, std::string&) {
        return i >= first && i < block.end && !IsGroupLine(lines_[i]) ? Edit::Drop : Edit::Keep;
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
    auto writeBody = [&](std::string& out) { writeLines(out, NewLine()); };
    // As the system, which writes nothing when no key goes or comes.
    auto hasKeys = [&](const Block& block) { return block.lastLine != npos; };
    size_t b = FindBlock(s);
    if (none) {
        bool any = false;
        for (size_t c = b; c != npos && c < index_.blocks.size() && !any; ++c)
            any = (c == b || !s.empty()) && EqualsFolded(BlockName(index_.blocks[c]), s) && hasKeys(index_.blocks[c]);
        if (!any) return;
    }
    BeginChange();
    b = FindBlock(s);
    if (b == npos) {
        const std::string header = "[" + codePage_->ToAnsi(sectionName) + "]";
        if (!lines_.empty()) EndWithBreak(lines_.size() - 1);
        SpliceWith(lines_.size(), 0, [&](std::string& out) {
            out += header;
            out += NewLine();
            writeBody(out);
        });
    } else {
        const std::vector<Block> blocks = Indexed().blocks;
        // Later sections of the name first, so that line numbers before them hold.
        for (size_t c = blocks.size() - 1; c > b && !s.empty(); --c)
            if (EqualsFolded(BlockName(blocks[c]), s)) EraseLines(blocks[c].begin, blocks[c].end - blocks[c].begin);
        // The body ends at its last non-blank line: blank lines before the next
        // header stay where they are.
        const Block& block = blocks[b];
        const size_t count = hasKeys(block) ? block.lastLine + 1 - block.begin : 0;
        if (count == 0 && block.header != npos) EndWithBreak(block.header);
        SpliceWith(block.begin, count, writeBody);
    }
    EndChange();
}

std::string_view ProfileFile::BreakBytes(Break lineBreak) {
    switch (lineBreak) {
        case Break::Lf: return "\n";
        case Break::Cr: return "\r";
        case Break::CrLf: return "\r\n";
        case Break::None: break;
    }
    return {};
}

// The line that gives an existing key line (or a line without "=") a new
// value. It keeps the line's own bytes up to the value, so that "name = old"
// becomes "name = new"; where those bytes would read differently once joined
// to the value, it is written afresh, as the system writes it. So is a name
// starting with "[": with a "]" in the value the line reads as a header, and
// its spacing would be part of the section's name.
std::string ProfileFile::KeyLine(const Line& line, std::string_view valueBytes) const {
    const std::string_view raw = RawOf(line);
    auto readsAsPrefix = [&](std::string_view prefix) {
        if (IsAscii(prefix)) return true;
        const std::wstring text = codePage_->FromAnsi(prefix);
        return !text.empty() && text.back() == L'=' && std::count(text.begin(), text.end(), L'=') == 1;
    };
    std::string out;
    if (NameOf(line).starts_with(L'[')) {
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
        out = codePage_->ToAnsi(NameOf(line));
        out += '=';
    }
    out += valueBytes;
    return out;
}

std::string_view ProfileFile::NewLine() const { return BreakBytes(newLine_); }

// Before a write that changes the file: the system writes back only what it
// read, so lines it dropped go; they must not come back to life when the
// line before them changes. Group lines stay (see IsGroupLine).
void ProfileFile::BeginChange() {
    const Index& ix = Indexed();
    std::vector<char> drop(lines_.size(), 0);
    bool any = false;
    for (const size_t i : ix.dropped)
        if (!IsGroupLine(lines_[i])) any = drop[i] = 1;
    if (any) Rebuild([&](size_t i, std::string&) { return drop[i] ? Edit::Drop : Edit::Keep; });
}

// After it: the system writes every line afresh, which changes how a few odd
// lines read: a name or value cut at a NUL loses what follows (and trims
// anew), and a section without a name loses its header, so that its keys join
// the section before it. Group lines stay as they are.
void ProfileFile::EndChange() {
    const Index& ix = Indexed();
    std::vector<char> rewrite(lines_.size(), 0);
    bool any = false;
    for (const size_t i : ix.rewritten)
        if (!IsGroupLine(lines_[i])) any = rewrite[i] = 1;
    if (!any) return;
    Rebuild([&](size_t i, std::string& text) {
        if (!rewrite[i]) return Edit::Keep;
        const Line& line = lines_[i];
        if (line.kind == Kind::Section && line.nameSize == 0) return Edit::Drop;
        text = codePage_->ToAnsi(NameOf(line));
        if (line.kind == Kind::Section) {
            text = "[" + text + "]";
        } else if (line.kind == Kind::Key) {
            text += '=';
            text += codePage_->ToAnsi(ValueText(line));
        }
        // A value cut short at a NUL could end with ",": the line would turn
        // into a group. It stays as it was instead (it reads nearly alike).
        return !text.empty() && text.back() == ',' ? Edit::Keep : Edit::Replace;
    });
}

bool ProfileFile::IsGroupLine(const Line& line) const {
    return line.rawSize > 0 && raw_[line.raw + line.rawSize - 1] == ',';
}

void ProfileFile::RemoveGroupLinesOutside(std::wstring_view section) {
    const Index& ix = Indexed();
    const size_t keep = FindBlock(TrimRight(TrimLeft(UpToNul(section))));
    std::vector<char> edit(lines_.size(), 0);
    bool any = false;
    for (size_t b = 0; b < ix.blocks.size(); ++b) {
        const Block& block = ix.blocks[b];
        if (block.header != npos) any |= edit[block.header] = IsGroupLine(lines_[block.header]);
        if (b == keep) continue;
        for (size_t i = block.begin; i < block.end; ++i) any |= edit[i] = IsGroupLine(lines_[i]);
    }
    // Most often every group line stands in the section already.
    if (!any) return;
    Rebuild([&](size_t i, std::string& text) {
        if (!edit[i]) return Edit::Keep;
        const Line& line = lines_[i];
        if (line.kind != Kind::Section) return Edit::Drop;
        // A header that reads as a group line too (a title that starts with
        // "["): the section stays, under a plain header.
        text = "[" + codePage_->ToAnsi(NameOf(line)) + "]";
        return Edit::Replace;
    });
}

// Puts the file together anew in one pass, each line kept, left out or
// replaced (`edit` sets the new bytes then, without the break), and parses
// it again: one pass however many lines change.
void ProfileFile::Rebuild(const std::function<Edit(size_t line, std::string& text)>& edit) {
    spare_.clear();
    spare_.reserve(raw_.size());
    std::string text;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        text.clear();
        switch (edit(i, text)) {
            case Edit::Keep: spare_.append(raw_, line.raw, line.rawSize + BreakBytes(line.lineBreak).size()); break;
            case Edit::Replace:
                spare_ += text;
                spare_ += BreakBytes(line.lineBreak);
                break;
            case Edit::Drop: break;
        }
    }
    raw_.swap(spare_);
    lines_.clear();
    text_.clear();
    ParseRange(0, raw_.size(), lines_);
    textAtCompaction_ = text_.size();
    indexStale_ = true;
    ++revision_;
}

// Gives the last line a line break, so that a line can follow it.
void ProfileFile::EndWithBreak(size_t at) {
    const Line& line = lines_[at];
    if (line.lineBreak != Break::None) return;
    std::string bytes(RawOf(line));
    // A group line ends with ",", which no code page takes as a lead byte:
    // its break always stands, and its bytes stay as they are.
    if (!IsAscii(bytes) && !IsGroupLine(line)) {
        // A dangling lead byte would swallow the break: write the line as it reads.
        std::string probe = bytes;
        probe += NewLine();
        const std::wstring text = codePage_->FromAnsi(probe);
        const std::wstring_view newLine = NewLine() == "\r\n" ? L"\r\n" : NewLine() == "\r" ? L"\r" : L"\n";
        if (CountBreaks(text) != newLine.size() || !std::wstring_view(text).ends_with(newLine))
            bytes = codePage_->ToAnsi(codePage_->FromAnsi(bytes));
    }
    bytes += NewLine();
    Splice(at, 1, bytes);
}

void ProfileFile::ReplaceLines(size_t first, size_t count, std::string_view bytes, Break lastBreak) {
    SpliceWith(first, count, [&](std::string& out) {
        out += bytes;
        out += BreakBytes(lastBreak);
    });
}

void ProfileFile::EraseLines(size_t first, size_t count) { Splice(first, count, {}); }

void ProfileFile::Splice(size_t first, size_t count, std::string_view bytes) {
    SpliceWith(first, count, [&](std::string& out) { out += bytes; });
}

// Replaces lines [first, first + count) with the lines that `write` appends
// to the string it is given. The file is put together anew in a second
// buffer, kept between changes, so that raw_ is always the file itself and a
// large section is not copied twice.
template <typename Write>
void ProfileFile::SpliceWith(size_t first, size_t count, Write write) {
    size_t from = first < lines_.size() ? lines_[first].raw : raw_.size();
    const size_t to = first + count < lines_.size() ? lines_[first + count].raw : raw_.size();
    spare_.clear();
    spare_.reserve(raw_.size() + (raw_.size() >> 3));
    spare_.append(raw_, 0, from);
    write(spare_);
    const size_t newEnd = spare_.size();
    const bool endsWithBreak = newEnd > from && IsBreakByte(spare_[newEnd - 1]);
    spare_.append(raw_, to, std::string::npos);
    raw_.swap(spare_);
    const std::ptrdiff_t shift = static_cast<std::ptrdiff_t>(newEnd) - static_cast<std::ptrdiff_t>(to);
    for (size_t i = first + count; i < lines_.size(); ++i)
        lines_[i].raw = static_cast<size_t>(static_cast<std::ptrdiff_t>(lines_[i].raw) + shift);

    // A lone CR left before the splice and an LF at its start now read as one
    // break: the line before is read again with the new ones.
    if (first > 0 && from > 0 && from < raw_.size() && raw_[from - 1] == '\r' && raw_[from] == '\n') {
        --first;
        ++count;
        from = lines_[first].raw;
    }
    std::vector<Line> parsed;
    ParseRange(from, newEnd, parsed);
    // The new lines run on into the next one, as a fresh parse reads them,
    // where a lead byte at their end swallowed their last break, or where
    // their last break is a lone CR and the next line starts with an LF.
    const auto runsOn = [&](size_t end) {
        if (first + count >= lines_.size()) return false;
        if (endsWithBreak && (parsed.empty() || parsed.back().lineBreak == Break::None)) return true;
        if (parsed.empty()) return false;
        return parsed.back().lineBreak == Break::Cr && end < raw_.size() && raw_[end] == '\n';
    };
    for (size_t end = newEnd; runsOn(end);) {
        const Line& next = lines_[first + count++];
        end = next.raw + next.rawSize + BreakBytes(next.lineBreak).size();
        parsed.clear();
        ParseRange(from, end, parsed);
        if (next.lineBreak == Break::None) break;
    }
    // A key line that keeps its kind and name leaves the index as it is.
    const bool sameShape = count == 1 && parsed.size() == 1 && parsed[0].kind == lines_[first].kind &&
                           (parsed[0].kind == Kind::Key || parsed[0].kind == Kind::Text) &&
                           parsed[0].hash == lines_[first].hash && parsed[0].bareEquals == lines_[first].bareEquals &&
                           (parsed[0].nameSize == 0) == (lines_[first].nameSize == 0) && parsed[0].nul == lines_[first].nul;
    if (count == parsed.size()) {
        std::copy(parsed.begin(), parsed.end(), lines_.begin() + static_cast<std::ptrdiff_t>(first));
    } else {
        const auto at = lines_.begin() + static_cast<std::ptrdiff_t>(first);
        lines_.insert(lines_.erase(at, at + static_cast<std::ptrdiff_t>(count)), parsed.begin(), parsed.end());
    }
    if (!sameShape) indexStale_ = true;
    ++revision_;
    if (text_.size() > 2 * textAtCompaction_ + 65536) CompactText();
}

// Packs the names and values that lines still use.
void ProfileFile::CompactText() {
    std::wstring text;
    for (Line& line : lines_) {
        const size_t name = text.size();
        text += NameOf(line);
        line.name = name;
        if (!line.rawValue) {
            const size_t value = text.size();
            text += ValueOf(line);
            line.value = value;
        }
    }
    text_ = std::move(text);
    textAtCompaction_ = text_.size();
}

}  // namespace mivra
