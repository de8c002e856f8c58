#pragma once
// The section "Data" of the configuration file: one line per group,
//   <title>=<record>,<record>,...,     (an empty group: <title>=,)
// where each record is EncodeText of
//   Title:"..",Path:"..",IcoPath:"..",Parm:"..",Count:"..",

#include <string>
#include <string_view>
#include <vector>

#include "data/Group.h"
#include "text/AnsiCodePage.h"

namespace mivra {

inline constexpr wchar_t kDataSection[] = L"Data";

// The record text of one item (before encoding).
std::wstring RecordText(const ItemRecord& item);
// The five fields cut out of a record text, the reference way that defines
// how a record reads: each field runs from the first occurrence of its
// opening to the first closing after it, as GetBetween cuts it; a missing
// field is empty. LoadData's items are cut a faster way to the same fields.
ItemRecord CutFieldsReference(std::wstring_view text);

// The name of the first field whose value the record cannot carry ("Title",
// "Path", "IcoPath", "Parm"; empty when it can carry them all): a value that
// holds "\"," ends its field early, and one that holds the opening of a
// later field ("Path:\"" in a title) is read back as that field.
std::wstring_view FieldTheRecordCannotHold(const ItemRecord& item);

// What was stored but could not be represented in the code page ("?" now
// stands for it); the caller tells the user.
struct LossyText {
    std::wstring group;
    std::wstring item;  // empty for the group title itself
};

// A group's stored value: every encoded record followed by ","; "," when empty.
std::wstring GetData(const AnsiCodePage& codePage, const Group& group, std::vector<LossyText>* lossy = nullptr);

// The lines of section "Data" (ANSI bytes, no line breaks), one per group.
std::vector<std::string> DataSectionLines(const AnsiCodePage& codePage, const std::vector<Group>& groups,
                                          std::vector<LossyText>* lossy = nullptr);
// The same lines appended to `out`, each followed by `lineBreak`: the
// section written straight into the file being put together.
void AppendDataSection(const AnsiCodePage& codePage, const std::vector<Group>& groups, std::string_view lineBreak,
                       std::string& out, std::vector<LossyText>* lossy = nullptr);

struct DataLoadError {
    size_t line = 0;  // 1-based line of the file
    std::wstring group;
    size_t record = 0;  // 1-based record of that line; 0: the line is no group line
};

struct LoadedData {
    std::vector<Group> groups;
    std::vector<DataLoadError> errors;  // records that could not be read; the rest is loaded
};

// Reads every group line of the file, whatever section it stands in: a line
// whose last character is "," is a group. Never fails as a whole: a record
// that is not a well-formed encoded item is skipped and reported.
LoadedData LoadData(const AnsiCodePage& codePage, std::string_view fileBytes);

}  // namespace mivra
