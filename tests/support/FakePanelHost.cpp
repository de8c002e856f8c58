#include "FakePanelHost.h"

namespace mivra::test {

int FakePanelHost::ShowMessage(std::wstring_view text, UINT) {
    messages.emplace_back(text);
    return answer;
}

bool FakePanelHost::RunItem(ItemRecord& item, ShowMode, std::wstring_view) {
    if (item.path.empty() || startsFail) return false;
    started.push_back(item.title);
    item.count = std::to_wstring(std::stoi(item.count) + 1);
    return true;
}

bool FakePanelHost::AddItem(std::vector<ItemRecord>& items, std::wstring_view title, std::wstring_view path,
                            std::wstring_view icoPath, std::wstring_view argument, std::wstring_view count) {
    addedPaths.emplace_back(path);
    items.push_back({std::wstring(title), std::wstring(path), std::wstring(icoPath), std::wstring(argument),
                     std::wstring(count)});
    return true;
}

int FakePanelHost::IconIndexOf(const ItemRecord& item) {
    return realIcons ? icons.IndexFor(item.icoPath, item.argument) : win::SystemIcons::kNoIcon;
}

}  // namespace mivra::test
