#include "data/DataFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "data/GroupTitles.h"
#include "text/ByteScan.h"
#include "text/TextCoder.h"

namespace mivra {
namespace {

// The fields in the order they are written, with their openings.
constexpr std::array<std::wstring ItemRecord::*, 5> kFields = {&ItemRecord::title, &ItemRecord::path,
                                                               &ItemRecord::icoPath, &ItemRecord::argument,
                                                               &ItemRecord::count};
constexpr std::array<std::string_view, 5> kOpenings = {"Title:\"", "Path:\"", "IcoPath:\"", "Parm:\"", "Count:\""};
constexpr std::string_view kClosing = "\",";

std::wstring Widen(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// Whether `text` holds `ascii` at `pos`.
template <typename Char>
bool HoldsAt(std::basic_string_view<Char> text, size_t pos, std::string_view ascii) {
    if (pos > text.size() || text.size() - pos < ascii.size()) return false;
    for (size_t i = 0; i < ascii.size(); ++i)
        if (text[pos + i] != static_cast<Char>(ascii[i])) return false;
    return true;
}

// Whether the text before `end` ends with `ascii`; compared from the back,
// where the openings differ.
template <typename Char>
bool EndsWithAt(std::basic_string_view<Char> text, size_t end, std::string_view ascii) {
    if (end < ascii.size()) return false;
    for (size_t i = ascii.size(); i-- > 0;)
        if (text[end - ascii.size() + i] != static_cast<Char>(ascii[i])) return false;
    return true;
}

// Every record the writer makes runs from the Title opening to the Count
// closing; anything else is damaged or cut short.
template <typename Char>
bool IsWholeRecord(std::basic_string_view<Char> text) {
    return HoldsAt(text, 0, kOpenings[0]) && text.size() >= kClosing.size() &&
           HoldsAt(text, text.size() - kClosing.size(), kClosing);
}

// Calls `visit` with the place of every quote of `text`, in order.
template <typename Char, typename Visit>
void ForEachQuote(std::basic_string_view<Char> text, Visit visit) {
    for (size_t q = scan::FindQuote(text, 0); q < text.size(); q = scan::FindQuote(text, q + 1)) visit(q);
}

// A record in the writer's own layout: the five openings in order, no value
// holding a quote and none ending with ":" (an opening could end at its
// closing quote then). Its values are what GetBetween finds too, since every
// occurrence of an opening ends at a quote after a colon.
template <typename Char>
bool CutWritersLayout(std::basic_string_view<Char> text, ItemRecord& item) {
    std::basic_string_view<Char> values[kFields.size()];
    size_t pos = 0;
    for (size_t f = 0; f < kFields.size(); ++f) {
        if (!HoldsAt(text, pos, kOpenings[f])) return false;
        pos += kOpenings[f].size();
        const size_t quote = scan::FindQuote(text, pos);
        if (quote + 1 >= text.size() || text[quote + 1] != Char(',')) return false;
        if (quote > pos && text[quote - 1] == Char(':')) return false;
        values[f] = text.substr(pos, quote - pos);
        pos = quote + 2;
    }
    if (pos != text.size()) return false;
    // Built, not assigned: assigning from bytes goes through a temporary.
    for (size_t f = 0; f < kFields.size(); ++f) item.*kFields[f] = std::wstring(values[f].begin(), values[f].end());
    return true;
}

// Cuts the five fields out of a record text as CutFieldsReference does: each
// from the first occurrence of its opening to the first closing after that.
// An opening ends with a colon and a quote and the closing is a quote and a
// comma, so only those quotes need a look. False, with nothing cut, when
// there are too many of them to keep.
template <typename Char>
bool CutAtQuotes(std::basic_string_view<Char> text, ItemRecord& item) {
    constexpr size_t kMost = 24;
    size_t openingEnds[kMost], closings[kMost];
    size_t ends = 0, closes = 0;
    bool tooMany = false;
    const Char* p = text.data();
    const size_t n = text.size();
    ForEachQuote(text, [&](size_t q) {
        if (q > 0 && p[q - 1] == Char(':')) {
            if (ends == kMost) tooMany = true;
            else openingEnds[ends++] = q;
        }
        if (q + 1 < n && p[q + 1] == Char(',')) {
            if (closes == kMost) tooMany = true;
            else closings[closes++] = q;
        }
    });
    if (tooMany) return false;
    for (size_t f = 0; f < kFields.size(); ++f) {
        const std::string_view opening = kOpenings[f];
        size_t e = 0;
        while (e < ends && !EndsWithAt(text, openingEnds[e] + 1, opening)) ++e;
        if (e == ends) continue;
        const size_t start = openingEnds[e] + 1;
        size_t c = 0;
        while (c < closes && closings[c] < start) ++c;
        if (c == closes) continue;
        const auto value = text.substr(start, closings[c] - start);
        item.*kFields[f] = std::wstring(value.begin(), value.end());
    }
    return true;
}

// The loader's record reader: the fields CutFieldsReference cuts, the
// fastest way that fits the record. `Char` is char for ASCII bytes.
template <typename Char>
void CutFields(std::basic_string_view<Char> text, ItemRecord& item) {
    if (CutWritersLayout(text, item) || CutAtQuotes(text, item)) return;
    item = CutFieldsReference(std::wstring(text.begin(), text.end()));  // an odd record: the plain way
}

// Splits at CR LF, LF or CR, as a text reader does.
template <typename Visit>
void ForEachLine(std::string_view bytes, Visit visit) {
    size_t number = 0, start = 0;
    while (start < bytes.size()) {
        const size_t end = scan::FindFirst<'\r', '\n'>(bytes, start).at;
        visit(++number, bytes.substr(start, end - start));
        start = end;
        if (start < bytes.size() && bytes[start] == '\r') ++start;
        if (start < bytes.size() && bytes[start] == '\n') ++start;
    }
}

std::wstring TextOf(const AnsiCodePage& codePage, std::string_view bytes) {
    return scan::IsAscii(bytes) ? Widen(bytes) : codePage.FromAnsi(bytes);
}

// A byte buffer written through a pointer. It grows by doubling and is cut
// to length once at the end, so that the many small appends of a writer
// cost no zero-filling each.
class ByteSink {
public:
    // Writes `bytes` from `used` on; what stands there already is room.
    explicit ByteSink(std::string& bytes, size_t used = 0) : bytes_(bytes), used_(used) {}
    char* Room(size_t n) {
        if (bytes_.size() - used_ < n) bytes_.resize(std::max({bytes_.capacity(), bytes_.size() * 2, used_ + n}));
        return bytes_.data() + used_;
    }
    void Commit(size_t n) { used_ += n; }
    void Append(std::string_view part) {
        char* o = Room(part.size());
        for (const char c : part) *o++ = c;  // short parts: no library call
        used_ += part.size();
    }
    void Clear() { used_ = 0; }
    std::string_view View() const { return {bytes_.data(), used_}; }
    void Finish() { bytes_.resize(used_); }

private:
    std::string& bytes_;
    size_t used_ = 0;
};

// Writes the ANSI bytes of `text`: ASCII as it is, anything else through the
// code page (by way of `scratch`). True when something could not be
// represented.
bool WriteAnsi(const AnsiCodePage& codePage, std::wstring_view text, ByteSink& out, std::string& scratch) {
    if (scan::NarrowAsciiPrefix(text.data(), text.size(), out.Room(text.size())) == text.size()) {
        out.Commit(text.size());
        return false;
    }
    bool lossy = false;
    scratch.clear();
    codePage.AppendToAnsi(text, scratch, &lossy);
    out.Append(scratch);
    return lossy;
}

// The record text between the values: an opening, with the closing of the
// value before it, padded so that it is copied as one block of 16 bytes.
struct Joint {
    char bytes[16];
    size_t size;
};
constexpr Joint JointBefore(size_t field) {
    Joint joint{};
    std::string_view text = field == 0 ? std::string_view() : kClosing;
    for (const char c : text) joint.bytes[joint.size++] = c;
    for (const char c : field < kOpenings.size() ? kOpenings[field] : std::string_view()) joint.bytes[joint.size++] = c;
    return joint;
}
constexpr std::array<Joint, 6> kJoints = {JointBefore(0), JointBefore(1), JointBefore(2),
                                          JointBefore(3), JointBefore(4), JointBefore(5)};

// The ANSI bytes of the item's record text; true when something was lost.
bool WriteRecordBytes(const AnsiCodePage& codePage, const ItemRecord& item, ByteSink& out, std::string& scratch) {
    constexpr size_t kPath = 1, kIcoPath = 2;
    static_assert(kFields[kPath] == &ItemRecord::path && kFields[kIcoPath] == &ItemRecord::icoPath);
    // An icon taken from the target itself, as most are, is the target's bytes again.
    const bool iconIsTarget = item.icoPath == item.path;
    size_t pathAt = 0, pathSize = 0;
    bool lossy = false;
    for (size_t f = 0; f <= kFields.size(); ++f) {
        const Joint& joint = kJoints[f];
        const std::wstring_view value = f < kFields.size() ? std::wstring_view(item.*kFields[f]) : std::wstring_view();
        const size_t room = sizeof joint.bytes + (f == kIcoPath && iconIsTarget ? pathSize : value.size());
        char* o = out.Room(room);
        std::memcpy(o, joint.bytes, sizeof joint.bytes);
        const size_t valueAt = out.View().size() + joint.size;
        if (f == kIcoPath && iconIsTarget) {
            std::memcpy(o + joint.size, out.View().data() + pathAt, pathSize);
            out.Commit(joint.size + pathSize);
            continue;
        }
        const size_t ascii = scan::NarrowAsciiPrefix(value.data(), value.size(), o + joint.size);
        if (ascii == value.size()) {
            out.Commit(joint.size + ascii);
        } else {
            out.Commit(joint.size);
            scratch.clear();
            codePage.AppendToAnsi(value, scratch, &lossy);
            out.Append(scratch);
        }
        if (f == kPath) {
            pathAt = valueAt;
            pathSize = out.View().size() - valueAt;
        }
    }
    return lossy;
}

// Roughly the stored size of a group's records, to size its line once.
size_t StoredSizeOf(const Group& group) {
    const size_t extra = group.title.size() * 2 + 8;
    if (const StoredRecords* stored = group.Stored())
        return EncodedSize(stored->bytes.size()) + stored->records.size() * 4 + extra;
    size_t text = 0;
    for (const ItemRecord& item : group.Items()) {
        text += 48;
        for (const auto field : kFields) text += (item.*field).size();
    }
    return text / 3 * 4 + group.Items().size() * 5 + extra;
}

// Appends the encoding of a record's bytes and the comma after it.
void AppendRecord(std::string_view bytes, ByteSink& out) {
    char* o = out.Room(EncodedSize(bytes.size()) + 1);
    const size_t written = EncodeBytesTo(bytes, o);
    o[written] = ',';
    out.Commit(written + 1);
}

// Buffers for writing many records.
struct RecordWriter {
    std::string recordBytes, scratch;
    ByteSink record{recordBytes};

    void WriteGroupLine(const AnsiCodePage& codePage, const Group& group, ByteSink& out,
                        std::vector<LossyText>* lossy) {
        if (WriteAnsi(codePage, group.title, out, scratch) && lossy) lossy->push_back({group.title, {}});
        out.Append("=");
        WriteGroupData(codePage, group, out, lossy);
    }

    void WriteGroupData(const AnsiCodePage& codePage, const Group& group, ByteSink& out,
                        std::vector<LossyText>* lossy) {
        if (const StoredRecords* stored = group.Stored()) {
            // Nobody asked for the items since the load: the records go back as they came.
            if (stored->records.empty()) out.Append(",");
            for (const StoredRecords::Record& r : stored->records)
                AppendRecord(std::string_view(stored->bytes.data() + r.begin, r.size), out);
            return;
        }
        if (group.Items().empty()) out.Append(",");
        for (const ItemRecord& item : group.Items()) {
            record.Clear();
            if (WriteRecordBytes(codePage, item, record, scratch) && lossy) lossy->push_back({group.title, item.title});
            AppendRecord(record.View(), out);
        }
    }
};

// The items of stored records: the text of each (ASCII bytes as they are)
// cut into fields.
std::vector<ItemRecord> ItemsOf(const StoredRecords& stored) {
    std::vector<ItemRecord> items;
    items.reserve(stored.records.size());
    std::wstring text;
    for (const StoredRecords::Record& record : stored.records) {
        const std::string_view bytes(stored.bytes.data() + record.begin, record.size);
        if (record.ascii) {
            CutFields(bytes, items.emplace_back());
            continue;
        }
        text.clear();
        stored.codePage->AppendFromAnsi(bytes, text);
        CutFields(std::wstring_view(text), items.emplace_back());
    }
    return items;
}

}  // namespace

std::wstring RecordText(const ItemRecord& item) {
    std::wstring text;
    text.reserve(48 + item.title.size() + item.path.size() + item.icoPath.size() + item.argument.size() +
                 item.count.size());
    for (size_t f = 0; f < kFields.size(); ++f) {
        text.append(kOpenings[f].begin(), kOpenings[f].end());
        text += item.*kFields[f];
        text.append(kClosing.begin(), kClosing.end());
    }
    return text;
}

std::wstring_view FieldTheRecordCannotHold(const ItemRecord& item) {
    static constexpr std::wstring_view kNames[] = {L"Title", L"Path", L"IcoPath", L"Parm", L"Count"};
    for (size_t f = 0; f < kFields.size(); ++f) {
        // Read back, a field runs from the first occurrence of its opening to
        // the first closing after it: the value as written, with the quote
        // that closes it, must hold no closing and no later field's opening.
        const std::wstring written = item.*kFields[f] + L'"';
        if (written.find(Widen(kClosing)) != std::wstring::npos) return kNames[f];
        for (size_t later = f + 1; later < kFields.size(); ++later)
            if (written.find(Widen(kOpenings[later])) != std::wstring::npos) return kNames[f];
    }
    return {};
}

// The reference reader, plain and slow: CutFields only finds the same fields
// faster, and the data tests and fuzz_data_file hold it to this.
ItemRecord CutFieldsReference(std::wstring_view text) {
    ItemRecord item;
    for (size_t f = 0; f < kFields.size(); ++f)
        item.*kFields[f] = GetBetween(text, Widen(kOpenings[f]), Widen(kClosing));
    return item;
}

std::wstring GetData(const AnsiCodePage& codePage, const Group& group, std::vector<LossyText>* lossy) {
    std::string data(StoredSizeOf(group), '\0');
    ByteSink out(data);
    RecordWriter().WriteGroupData(codePage, group, out, lossy);
    out.Finish();
    return Widen(data);
}

std::vector<std::string> DataSectionLines(const AnsiCodePage& codePage, const std::vector<Group>& groups,
                                          std::vector<LossyText>* lossy) {
    std::vector<std::string> lines;
    lines.reserve(groups.size());
    RecordWriter writer;
    for (const Group& group : groups) {
        std::string& line = lines.emplace_back(StoredSizeOf(group), '\0');
        ByteSink out(line);
        writer.WriteGroupLine(codePage, group, out, lossy);
        out.Finish();
    }
    return lines;
}

void AppendDataSection(const AnsiCodePage& codePage, const std::vector<Group>& groups, std::string_view lineBreak,
                       std::string& out, std::vector<LossyText>* lossy) {
    ByteSink sink(out, out.size());
    RecordWriter writer;
    for (const Group& group : groups) {
        writer.WriteGroupLine(codePage, group, sink, lossy);
        sink.Append(lineBreak);
    }
    sink.Finish();
}

void Group::MakeItems() const {
    if (!stored_) return;
    items_ = ItemsOf(*stored_);
    stored_.reset();
}

LoadedData LoadData(const AnsiCodePage& codePage, std::string_view fileBytes) {
    LoadedData data;
    ForEachLine(fileBytes, [&](size_t number, std::string_view line) {
        if (line.empty() || line.back() != ',') return;
        // Only the leading title and its "=" are taken off: an encoded
        // record may hold "=" too.
        const size_t equals = scan::FindFirst<'='>(line, 0).at;
        if (equals == line.size()) {
            data.errors.push_back({number, {}, 0});  // a stray line that no writer makes
            return;
        }
        // A title the engine would read otherwise (a hand-made file, an older
        // writer) is cleaned here, and written back clean by the next save.
        std::wstring title = CleanGroupTitle(TextOf(codePage, line.substr(0, equals)));
        const std::string_view records = line.substr(equals + 1);
        // Every record of the line is decoded into the group's one buffer and
        // checked to be whole; its text is made when the items are first
        // used. The line ends with ",": the empty piece after it is not looked at.
        if (records.size() < 2) {
            data.groups.emplace_back(std::move(title));
            return;
        }
        auto stored = std::make_shared<StoredRecords>();
        stored->codePage = &codePage;
        stored->bytes.resize(DecodedSizeLimit(records.size()));
        size_t used = 0, recordNumber = 0;
        for (size_t start = 0; start < records.size();) {
            ++recordNumber;
            // A record is the coder's output and nothing else, up to the comma.
            const DecodedPrefix piece = DecodePrefix(records.substr(start), stored->bytes.data() + used);
            size_t comma = start + piece.read;
            const bool decoded = piece.read > 0 && records[comma] == ',';
            if (!decoded) comma = scan::FindFirst<','>(records, comma).at;
            // The record's frame is ASCII that no code page takes as the
            // second byte of a character: it is checked on the bytes.
            if (decoded && IsWholeRecord(std::string_view(stored->bytes.data() + used, piece.written))) {
                stored->records.push_back({used, piece.written, piece.ascii});
                used += piece.written;
            } else {
                data.errors.push_back({number, title, recordNumber});
            }
            start = comma + 1;
        }
        stored->bytes.resize(used);
        if (stored->records.empty()) data.groups.emplace_back(std::move(title));
        else data.groups.push_back(Group::Loaded(std::move(title), std::move(stored)));
    });
    GiveMissingTitles(data.groups);
    return data;
}

}  // namespace mivra
