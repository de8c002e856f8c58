#include "config/ProfileLines.h"

#include <algorithm>

#include "config/ProfileText.h"
#include "text/ByteScan.h"

namespace mivra {
using namespace profile;
namespace {

constexpr bool IsBreakByte(char c) { return c == '\r' || c == '\n'; }

size_t CountBreaks(std::wstring_view text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }));
}

}  // namespace

ProfileLines::ProfileLines(const AnsiCodePage& codePage, std::string bytes)
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
void ProfileLines::ParseRange(size_t begin, size_t end, std::vector<Line>& out) {
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
void ProfileLines::AddLine(size_t raw, size_t rawSize, Break lineBreak, size_t text, size_t textSize, size_t tailSize,
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

std::wstring ProfileLines::ValueText(const Line& line) const {
    if (!line.rawValue) return std::wstring(text_, line.value, line.valueSize);
    const char* value = raw_.data() + line.raw + line.value;
    return std::wstring(value, value + line.valueSize);  // ASCII
}

std::string_view ProfileLines::BreakBytes(Break lineBreak) {
    switch (lineBreak) {
        case Break::Lf: return "\n";
        case Break::Cr: return "\r";
        case Break::CrLf: return "\r\n";
        case Break::None: break;
    }
    return {};
}

// One pass however many lines change.
void ProfileLines::Rebuild(const std::function<Edit(size_t line, std::string& text)>& edit) {
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
    ++shape_;
    ++revision_;
}

void ProfileLines::EndWithBreak(size_t at) {
    const Line& line = lines_[at];
    if (line.lineBreak != Break::None) return;
    std::string bytes(RawOf(line));
    // A group line ends with ",", which no code page takes as a lead byte:
    // its break always stands, and its bytes stay as they are.
    if (!scan::IsAscii(bytes) && !IsGroupLine(line)) {
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

void ProfileLines::ReplaceLines(size_t first, size_t count, std::string_view bytes, Break lastBreak) {
    SpliceWith(first, count, [&](std::string& out) {
        out += bytes;
        out += BreakBytes(lastBreak);
    });
}

void ProfileLines::EraseLines(size_t first, size_t count) { Splice(first, count, {}); }

void ProfileLines::Splice(size_t first, size_t count, std::string_view bytes) {
    SpliceWith(first, count, [&](std::string& out) { out += bytes; });
}

// The file is put together anew in a second buffer, kept between changes,
// so that raw_ is always the file itself: first the bytes before the lines
// replaced, then (SpliceWith) the new lines.
size_t ProfileLines::StartSplice(size_t first) {
    const size_t from = first < lines_.size() ? lines_[first].raw : raw_.size();
    spare_.clear();
    spare_.reserve(raw_.size() + (raw_.size() >> 3));
    spare_.append(raw_, 0, from);
    return from;
}

// Then the bytes after them, and the new lines are parsed.
void ProfileLines::FinishSplice(size_t first, size_t count, size_t from) {
    const size_t to = first + count < lines_.size() ? lines_[first + count].raw : raw_.size();
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
    // A key line that keeps its kind and name leaves the shape, and so the
    // index, as it is.
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
    if (!sameShape) ++shape_;
    ++revision_;
    if (text_.size() > 2 * textAtCompaction_ + 65536) CompactText();
}

// Packs the names and values that lines still use.
void ProfileLines::CompactText() {
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
