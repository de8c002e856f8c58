#include "FakePanelHost.h"

#include <algorithm>

#include "paths/PortablePath.h"

namespace mivra::test {

int FakePanelHost::ShowMessage(std::wstring_view text, UINT) {
    messages.emplace_back(text);
    if (answers.empty()) return answer;
    const int next = answers.front();
    answers.erase(answers.begin());
    return next;
}

bool FakePanelHost::RunItem(ItemRecord& item, ShowMode show, std::wstring_view verb) {
    if (item.path.empty() || startsFail) return false;
    started.push_back(item.title);
    startedAs.push_back(std::wstring(verb) + L" " + std::to_wstring(static_cast<int>(show)));
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

std::wstring FakePanelHost::Shell::Resolve(std::wstring_view stored) {
    // The program's folder is C:\Mivra, and no environment variable is set.
    return ResolvePath(stored, L"C:\\Mivra", [](std::wstring_view) { return std::optional<std::wstring>(); });
}

bool FakePanelHost::Shell::Exists(const std::wstring& path) {
    return std::find(files.begin(), files.end(), path) != files.end();
}

bool FakePanelHost::Shell::SaveShortcut(const std::wstring& file, const std::wstring& target,
                                        std::wstring_view arguments, const std::wstring& icon) {
    if (!saves) return false;
    shortcuts.push_back({file, target, std::wstring(arguments), icon});
    files.push_back(file);
    return true;
}

int FakePanelHost::IconIndexOf(const ItemRecord& item) {
    return realIcons ? icons.IndexFor(item.icoPath, item.argument) : win::SystemIcons::kNoIcon;
}

}  // namespace mivra::test
