#include "data/DataFile.h"

#include <algorithm>

#include "text/TextCoder.h"

namespace mivra {
namespace {

constexpr std::wstring_view kClosing = L"\",";
constexpr std::wstring_view kTitleOpening = L"Title:\"";
constexpr std::wstring_view kPathOpening = L"Path:\"";
constexpr std::wstring_view kIcoPathOpening = L"IcoPath:\"";
constexpr std::wstring_view kParmOpening = L"Parm:\"";
constexpr std::wstring_view kCountOpening = L"Count:\"";

std::wstring Widen(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

bool IsRecordCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/' ||
           c == '=';
}

// A stored record is the coder's output: letters, digits, "+", "/", with
// "=" only as padding at its end.
bool IsEncodedRecord(std::string_view piece) {
    if (piece.empty()) return false;
    for (char c : piece)
        if (!IsRecordCharacter(c)) return false;
    const size_t padding = piece.find('=');
    return padding == std::string_view::npos || piece.find_first_not_of('=', padding) == std::string_view::npos;
}

// Splits at CR LF, LF or CR, as a text reader does.
template <typename Visit>
void ForEachLine(std::string_view bytes, Visit visit) {
    size_t number = 0, start = 0;
    while (start < bytes.size()) {
        size_t end = start;  // a plain scan: find_first_of tests each byte against both
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') ++end;
        visit(++number, bytes.substr(start, end - start));
        start = end;
        if (start < bytes.size() && bytes[start] == '\r') ++start;
        if (start < bytes.size() && bytes[start] == '\n') ++start;
    }
}

}  // namespace

std::wstring RecordText(const ItemRecord& item) {
    std::wstring text;
    text.reserve(48 + item.title.size() + item.path.size() + item.icoPath.size() + item.argument.size() +
                 item.count.size());
    auto field = [&](std::wstring_view opening, const std::wstring& value) {
        text.append(opening).append(value).append(kClosing);
    };
    field(kTitleOpening, item.title);
    field(kPathOpening, item.path);
    field(kIcoPathOpening, item.icoPath);
    field(kParmOpening, item.argument);
    field(kCountOpening, item.count);
    return text;
}

ItemRecord ParseRecordText(std::wstring_view text) {
    return ItemRecord{
        GetBetween(text, kTitleOpening, kClosing),   GetBetween(text, kPathOpening, kClosing),
        GetBetween(text, kIcoPathOpening, kClosing), GetBetween(text, kParmOpening, kClosing),
        GetBetween(text, kCountOpening, kClosing),
    };
}

namespace {

// The ANSI bytes of many texts, converted in one call where the code page
// allows it (one call per text costs more than the conversion itself).
// Texts are joined with NUL; when that cannot be split back (a text holding
// NUL) or something was lost, each text is converted on its own.
std::vector<std::string> ToAnsiEach(const AnsiCodePage& codePage, const std::vector<std::wstring>& texts,
                                    std::vector<bool>* lossy) {
    std::wstring joined;
    size_t total = 0;
    for (const auto& t : texts) total += t.size() + 1;
    joined.reserve(total);
    for (const auto& t : texts) joined.append(t).push_back(L'\0');
    bool anyLossy = false;
    const std::string bytes = codePage.ToAnsi(joined, &anyLossy);

    std::vector<std::string> out;
    out.reserve(texts.size());
    size_t start = 0;
    for (size_t nul; out.size() < texts.size() && (nul = bytes.find('\0', start)) != std::string::npos; start = nul + 1)
        out.emplace_back(bytes, start, nul - start);
    if (lossy) lossy->assign(texts.size(), false);
    if (!anyLossy && out.size() == texts.size() && start == bytes.size()) return out;

    out.clear();
    for (size_t i = 0; i < texts.size(); ++i) {
        bool one = false;
        out.push_back(codePage.ToAnsi(texts[i], &one));
        if (lossy) (*lossy)[i] = one;
    }
    return out;
}

void AppendGroupData(const std::string* encodedRecords, size_t count, std::string& line) {
    if (count == 0) line += ',';
    for (size_t i = 0; i < count; ++i) {
        AppendEncodedBytes(encodedRecords[i], line);
        line += ',';
    }
}

}  // namespace

std::wstring GetData(const AnsiCodePage& codePage, const Group& group, std::vector<LossyText>* lossy) {
    std::vector<std::wstring> records;
    for (const ItemRecord& item : group.items) records.push_back(RecordText(item));
    std::vector<bool> itemLossy;
    const std::vector<std::string> bytes = ToAnsiEach(codePage, records, &itemLossy);
    for (size_t i = 0; i < itemLossy.size(); ++i)
        if (itemLossy[i] && lossy) lossy->push_back({group.title, group.items[i].title});
    std::string data;
    AppendGroupData(bytes.data(), bytes.size(), data);
    return Widen(data);
}

std::vector<std::string> DataSectionLines(const AnsiCodePage& codePage, const std::vector<Group>& groups,
                                          std::vector<LossyText>* lossy) {
    // Titles and records of the whole file go through the code page together.
    std::vector<std::wstring> texts;
    for (const Group& group : groups) {
        texts.push_back(group.title);
        for (const ItemRecord& item : group.items) texts.push_back(RecordText(item));
    }
    std::vector<bool> textLossy;
    const std::vector<std::string> bytes = ToAnsiEach(codePage, texts, &textLossy);

    std::vector<std::string> lines;
    lines.reserve(groups.size());
    size_t next = 0;
    for (const Group& group : groups) {
        if (textLossy[next] && lossy) lossy->push_back({group.title, {}});
        std::string line = bytes[next++];
        line += '=';
        for (size_t i = 0; i < group.items.size(); ++i)
            if (textLossy[next + i] && lossy) lossy->push_back({group.title, group.items[i].title});
        AppendGroupData(bytes.data() + next, group.items.size(), line);
        next += group.items.size();
        lines.push_back(std::move(line));
    }
    return lines;
}

LoadedData LoadData(const AnsiCodePage& codePage, std::string_view fileBytes) {
    LoadedData data;
    // Records are decoded to bytes first, all into one buffer, so that the
    // code page converts them in one call.
    struct Pending {
        size_t group, line, number;
        size_t begin, end;  // bytes in `decoded`; begin == end: not a record at all
    };
    std::vector<Pending> pending;
    std::string decoded;
    decoded.reserve(fileBytes.size() * 3 / 4);

    ForEachLine(fileBytes, [&](size_t number, std::string_view line) {
        if (line.empty() || line.back() != ',') return;
        // Only the leading title and its "=" are taken off: an encoded
        // record may hold "=" too.
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            data.errors.push_back({number, {}, 0});  // a stray line that no writer makes
            return;
        }
        data.groups.push_back({codePage.FromAnsi(line.substr(0, equals)), {}});
        const std::string_view records = line.substr(equals + 1);
        if (records.size() < 2) return;
        size_t recordNumber = 0, start = 0;
        // The piece after the final "," is empty and ignored.
        for (size_t comma; (comma = records.find(',', start)) != std::string_view::npos; start = comma + 1) {
            const std::string_view piece = records.substr(start, comma - start);
            const size_t begin = decoded.size();
            if (IsEncodedRecord(piece)) {
                AppendDecodedBytes(piece, decoded);
                decoded.push_back('\0');
            }
            pending.push_back({data.groups.size() - 1, number, ++recordNumber, begin, decoded.size()});
        }
    });

    // One conversion; split at the NUL after each record. A record that holds
    // NUL itself (damaged) makes the split fail: then one call per record.
    const std::wstring text = codePage.FromAnsi(decoded);
    std::vector<std::wstring_view> texts;
    texts.reserve(pending.size());
    size_t start = 0;
    for (size_t nul; (nul = text.find(L'\0', start)) != std::wstring::npos; start = nul + 1)
        texts.push_back(std::wstring_view(text).substr(start, nul - start));
    size_t wellFormed = 0;
    for (const Pending& p : pending) wellFormed += p.begin != p.end;
    std::vector<std::wstring> oneByOne;
    if (texts.size() != wellFormed) {
        texts.clear();
        for (const Pending& p : pending)
            if (p.begin != p.end)
                texts.push_back(oneByOne.emplace_back(codePage.FromAnsi(std::string_view(decoded).substr(p.begin, p.end - p.begin - 1))));
    }

    size_t next = 0;
    for (const Pending& p : pending) {
        const std::wstring_view record = p.begin != p.end ? texts[next++] : std::wstring_view();
        // Every record the writer makes runs from the Title opening to the
        // Count closing; anything else is damaged or cut short.
        if (!record.starts_with(kTitleOpening) || !record.ends_with(kClosing)) {
            data.errors.push_back({p.line, data.groups[p.group].title, p.number});
            continue;
        }
        data.groups[p.group].items.push_back(ParseRecordText(record));
    }
    std::stable_sort(data.errors.begin(), data.errors.end(), [](const DataLoadError& a, const DataLoadError& b) {
        return a.line < b.line;
    });
    return data;
}

}  // namespace mivra
