#include "items/ItemEditorRules.h"

#include "data/DataFile.h"
#include "paths/PortablePath.h"
#include "text/Strings.h"

namespace mivra {
namespace {

bool OnProgramDrive(std::wstring_view target, std::wstring_view programDir) {
    return target.size() >= 2 && programDir.size() >= 2 && EqualsNoCase(target.substr(0, 2), programDir.substr(0, 2));
}

bool IsPortableForm(std::wstring_view target) {
    return StartsWithNoCase(target, L"%rp%") || StartsWithNoCase(target, L"%rr%");
}

// The names the editor's labels give the record's fields.
std::wstring_view LabelOf(std::wstring_view field) {
    if (field == L"Title") return L"标题";
    if (field == L"Path") return L"目标";
    if (field == L"IcoPath") return L"图标";
    return L"参数";
}

}  // namespace

ConvertButtonState ConvertButtonFor(std::wstring_view target, std::wstring_view programDir) {
    if (OnProgramDrive(target, programDir)) return {kToPortableCaption, true};
    if (IsPortableForm(target)) return {kToAbsoluteCaption, true};
    return {kToPortableCaption, false};
}

std::wstring ConvertTarget(std::wstring_view target, std::wstring_view programDir) {
    if (OnProgramDrive(target, programDir)) return MakePortable(target, programDir);
    return MakeAbsolute(target, programDir);
}

bool ProposesTarget(std::wstring_view clipboardText) { return StartsWithNoCase(clipboardText, L"http"); }

std::wstring RefusalOf(const ItemRecord& item) {
    const std::wstring_view field = FieldTheRecordCannotHold(item);
    if (field.empty()) return {};
    return L"“" + std::wstring(LabelOf(field)) +
           L"”中的文字无法保存：英文双引号后紧跟逗号（\",），或像 Path:\" 这样的字段开头，读回时会被截断或错读。请修改后再确定。";
}

ItemSerial SerialOf(ItemRecord& item, std::uint64_t& next) {
    if (item.serial.value == 0) item.serial.value = ++next;
    return item.serial;
}

std::optional<ItemPlace> FindItem(const std::vector<Group>& groups, ItemSerial serial) {
    if (serial.value == 0) return std::nullopt;
    for (size_t g = 0; g < groups.size(); ++g) {
        if (groups[g].Stored()) continue;
        const auto& items = groups[g].Items();
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].serial.value == serial.value) return ItemPlace{g + 1, i + 1};
    }
    return std::nullopt;
}

}  // namespace mivra
