#include "menus/ItemMenuModel.h"

#include "items/ItemEdits.h"
#include "text/Strings.h"

namespace mivra {
namespace {

// "CON", "PRN", "AUX", "NUL", "COM1".."COM9", "LPT1".."LPT9", also before an extension.
bool IsDeviceName(std::wstring_view name) {
    std::wstring_view stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.remove_suffix(1);
    for (std::wstring_view device : {L"CON", L"PRN", L"AUX", L"NUL"})
        if (EqualsNoCase(stem, device)) return true;
    return stem.size() == 4 && (StartsWithNoCase(stem, L"COM") || StartsWithNoCase(stem, L"LPT")) &&
           stem[3] >= L'1' && stem[3] <= L'9';
}

}  // namespace

int MoveToIndex(ItemCommand command) {
    const unsigned value = static_cast<unsigned>(command), first = static_cast<unsigned>(ItemCommand::MoveTo);
    return value >= first ? static_cast<int>(value - first) : -1;
}

bool IsLocalTarget(std::wstring_view resolvedPath) { return !resolvedPath.empty() && IsLocalPath(resolvedPath); }

std::vector<MenuEntry> ItemMenuEntries(const ItemMenuState& state) {
    std::vector<MenuEntry> entries;
    const auto command = [&](std::wstring_view caption, ItemCommand id) {
        entries.push_back({MenuEntry::Kind::Command, std::wstring(caption), static_cast<unsigned>(id)});
    };
    const auto separator = [&] { entries.push_back({MenuEntry::Kind::Separator}); };
    const bool local = IsLocalTarget(state.resolvedPath);
    if (local) {
        if (state.osMajor > 5 &&
            (EndsWithNoCase(state.resolvedPath, L".exe") || EndsWithNoCase(state.resolvedPath, L".bat")))
            command(L"管理员权限运行(&A)", ItemCommand::RunAsAdministrator);
        command(L"最小化运行(&N)", ItemCommand::RunMinimized);
        command(L"打开文件位置(&F)", ItemCommand::OpenFolder);
        command(L"资源管理器菜单(&X)", ItemCommand::ExplorerMenu);
        separator();
    }
    entries.push_back({MenuEntry::Kind::Submenu, L"移动到"});
    for (size_t k = 0; k < state.groupTitles.size(); ++k)
        entries.push_back({MenuEntry::Kind::Command, state.groupTitles[k],
                           static_cast<unsigned>(ItemCommand::MoveTo) + static_cast<unsigned>(k), false,
                           k + 1 == state.ownGroup});
    entries.push_back({MenuEntry::Kind::EndSubmenu});
    command(L"编辑(&E)", ItemCommand::Edit);
    command(L"删除(&D)", ItemCommand::Delete);
    separator();
    command(L"替换为空项目", ItemCommand::ReplaceWithBlank);
    command(L"复制完整路径", ItemCommand::CopyPath);
    if (local) command(L"创建桌面快捷方式", ItemCommand::CreateLink);
    separator();
    command(L"删除全部项目", ItemCommand::DeleteAll);
    return entries;
}

std::wstring ShortcutBaseName(std::wstring_view title) {
    std::wstring name;
    for (size_t i = 0; i < title.size(); ++i) {
        const wchar_t c = title[i];
        if (c == L'&' && i + 1 < title.size() && title[i + 1] == L'&') ++i;  // "&&" shows one "&"
        if (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) continue;
        name += c;
    }
    // Room for " (999).lnk" within the 255 characters of a file name.
    if (name.size() > 240) name.resize(240);
    // No "..", and no name that ends in a dot or a space (the system drops them).
    for (size_t at; (at = name.find(L"..")) != std::wstring::npos;) name.erase(at, 2);
    while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
    while (!name.empty() && name.front() == L' ') name.erase(0, 1);
    if (name.empty()) return std::wstring(kDefaultShortcutName);
    if (IsDeviceName(name)) name.insert(0, L"_");
    return name;
}

std::wstring FreeShortcutFileName(const std::wstring& base, const std::function<bool(const std::wstring&)>& taken) {
    for (int n = 1; n < 1000; ++n) {
        std::wstring name = n == 1 ? base + L".lnk" : base + L" (" + std::to_wstring(n) + L").lnk";
        if (!taken(name)) return name;
    }
    return {};
}

}  // namespace mivra
