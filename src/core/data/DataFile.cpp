#include "data/DataFile.h"

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

std::string Narrow(std::wstring_view ascii) {
    std::string out(ascii.size(), '\0');
    for (size_t i = 0; i < ascii.size(); ++i) out[i] = static_cast<char>(ascii[i]);
    return out;
}

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
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = bytes.size();
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

std::wstring GetData(const AnsiCodePage& codePage, const Group& group, std::vector<LossyText>* lossy) {
    if (group.items.empty()) return L",";
    std::wstring data;
    for (const ItemRecord& item : group.items) {
        bool itemLossy = false;
        data.append(EncodeText(codePage, RecordText(item), &itemLossy)).append(L",");
        if (itemLossy && lossy) lossy->push_back({group.title, item.title});
    }
    return data;
}

std::vector<std::string> DataSectionLines(const AnsiCodePage& codePage, const std::vector<Group>& groups,
                                          std::vector<LossyText>* lossy) {
    std::vector<std::string> lines;
    lines.reserve(groups.size());
    for (const Group& group : groups) {
        bool titleLossy = false;
        std::string line = codePage.ToAnsi(group.title, &titleLossy);
        if (titleLossy && lossy) lossy->push_back({group.title, {}});
        line += '=';
        line += Narrow(GetData(codePage, group, lossy));
        lines.push_back(std::move(line));
    }
    return lines;
}

LoadedData LoadData(const AnsiCodePage& codePage, std::string_view fileBytes) {
    LoadedData data;
    ForEachLine(fileBytes, [&](size_t number, std::string_view line) {
        if (line.empty() || line.back() != ',') return;
        // Only the leading title and its "=" are taken off: an encoded
        // record may hold "=" too.
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            data.errors.push_back({number, {}, 0});  // a stray line that no writer makes
            return;
        }
        Group group;
        group.title = codePage.FromAnsi(line.substr(0, equals));
        const std::string_view records = line.substr(equals + 1);
        if (records.size() >= 2) {
            size_t recordNumber = 0, start = 0;
            // The piece after the final "," is empty and ignored.
            for (size_t comma; (comma = records.find(',', start)) != std::string_view::npos; start = comma + 1) {
                const std::string_view piece = records.substr(start, comma - start);
                ++recordNumber;
                std::wstring text = IsEncodedRecord(piece) ? DecodeText(codePage, Widen(piece)) : std::wstring();
                // Every record the writer makes runs from the Title opening to
                // the Count closing; anything else is damaged or cut short.
                if (!text.starts_with(kTitleOpening) || !text.ends_with(kClosing)) {
                    data.errors.push_back({number, group.title, recordNumber});
                    continue;
                }
                group.items.push_back(ParseRecordText(text));
            }
        }
        data.groups.push_back(std::move(group));
    });
    return data;
}

}  // namespace mivra
