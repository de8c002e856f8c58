#pragma once
// The lines of an INI file as ProfileFile keeps them: the file's bytes, and
// for each line where its bytes stand, its kind, and its name and value as
// the private-profile functions read them (the rules are in ProfileFile.h).
// A change splices new bytes into the file and parses again only the lines
// it touched.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "text/AnsiCodePage.h"

namespace mivra {

class ProfileLines {
public:
    enum class Kind : std::uint8_t { Blank, Section, Key, Text };  // Text: a line without "="
    enum class Break : std::uint8_t { None, Lf, Cr, CrLf };
    static constexpr size_t npos = static_cast<size_t>(-1);

    // A line's bytes sit in the file, and its decoded name and value in a
    // text buffer that only grows until compacted: no line owns an
    // allocation. A value that is ASCII stays in the file undecoded.
    struct Line {
        size_t raw = 0, rawSize = 0;  // content, without the break
        size_t name = 0, nameSize = 0;
        size_t value = 0, valueSize = 0;  // in the text buffer, or from `raw` on in the file when rawValue
        std::uint64_t hash = 0;  // of the folded name
        Kind kind = Kind::Blank;
        Break lineBreak = Break::None;
        bool bareEquals = false;  // a key line starting with "="
        bool nul = false;         // the line holds a NUL
        bool rawValue = false;
    };

    // `bytes` is the file's content in the ANSI code page.
    ProfileLines(const AnsiCodePage& codePage, std::string bytes);

    const AnsiCodePage& CodePage() const { return *codePage_; }
    // The file as it stands now.
    const std::string& Bytes() const { return raw_; }
    // Grows with every change of the bytes.
    std::uint64_t Revision() const { return revision_; }
    // Grows with every change that may move a section or a key, or change
    // which line a name finds; a change of one key line's value leaves it.
    std::uint64_t Shape() const { return shape_; }

    size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    const Line& operator[](size_t i) const { return lines_[i]; }
    std::vector<Line>::const_iterator begin() const { return lines_.begin(); }
    std::vector<Line>::const_iterator end() const { return lines_.end(); }

    std::wstring_view NameOf(const Line& line) const { return {text_.data() + line.name, line.nameSize}; }
    std::wstring ValueText(const Line& line) const;
    std::string_view RawOf(const Line& line) const { return {raw_.data() + line.raw, line.rawSize}; }
    // A group line of the data section: one that ends with ",".
    bool IsGroupLine(const Line& line) const { return line.rawSize > 0 && raw_[line.raw + line.rawSize - 1] == ','; }

    static std::string_view BreakBytes(Break lineBreak);
    // The break that new lines get: the file's first one.
    std::string_view NewLine() const { return BreakBytes(newLine_); }

    // Puts the file together anew in one pass, each line kept, left out or
    // replaced (`edit` sets the new bytes then, without the break), and
    // parses it again.
    enum class Edit { Keep, Drop, Replace };
    void Rebuild(const std::function<Edit(size_t line, std::string& text)>& edit);
    // Gives the line a line break if it has none, so that a line can follow it.
    void EndWithBreak(size_t line);
    void ReplaceLines(size_t first, size_t count, std::string_view bytes, Break lastBreak);
    void EraseLines(size_t first, size_t count);
    // Replaces lines [first, first + count) with `bytes`, whole lines.
    void Splice(size_t first, size_t count, std::string_view bytes);
    // The same with the lines that `write` appends to the string it is given:
    // the new file is put together there, so that a large section is not
    // copied twice.
    template <typename Write>
    void SpliceWith(size_t first, size_t count, Write write) {
        const size_t from = StartSplice(first);
        write(spare_);
        FinishSplice(first, count, from);
    }

private:
    void ParseRange(size_t begin, size_t end, std::vector<Line>& out);
    void AddLine(size_t raw, size_t rawSize, Break lineBreak, size_t text, size_t textSize, size_t tailSize,
                 bool tailNul, std::vector<Line>& out);
    // The value of a line without rawValue.
    std::wstring_view ValueOf(const Line& line) const { return {text_.data() + line.value, line.valueSize}; }
    size_t StartSplice(size_t first);
    void FinishSplice(size_t first, size_t count, size_t from);
    void CompactText();

    const AnsiCodePage* codePage_;
    std::string raw_;
    std::string spare_;  // the next raw_, put together by a change
    std::wstring text_;
    size_t textAtCompaction_ = 0;
    std::vector<Line> lines_;
    Break newLine_ = Break::CrLf;
    std::uint64_t revision_ = 0;
    std::uint64_t shape_ = 0;
};

}  // namespace mivra
