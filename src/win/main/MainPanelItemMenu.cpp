// The item menu's commands, as the panel carries them out on one item of a group.

#include "main/MainPanel.h"

namespace mivra::win {
namespace {

constexpr wchar_t kShortcutFailed[] = L"无法在桌面创建快捷方式：";
constexpr wchar_t kMoveRefused[] = L"该项目无法移动到目标分组。";

}  // namespace

ItemRecord* MainPanel::GroupItem(size_t group, size_t item) {
    auto& groups = host_.Groups();
    if (group < 1 || group > groups.size()) return nullptr;
    auto& items = groups[group - 1].Items();
    return item >= 1 && item <= items.size() ? &items[item - 1] : nullptr;
}

unsigned MainPanel::TrackPanelMenu(const std::vector<MenuEntry>& entries) {
    POINT at{};
    GetCursorPos(&at);
    docking_.SetKeepShown(true);
    SetForegroundWindow(hwnd());
    const unsigned chosen = TrackPopup(hwnd(), entries, at);
    docking_.SetKeepShown(false);
    return chosen;
}

void MainPanel::ShowItemMenu(size_t group, size_t item) {
    const ItemRecord* record = GroupItem(group, item);
    if (!record) return;
    std::vector<std::wstring> titles;
    for (const Group& g : host_.Groups()) titles.push_back(g.title);
    ShellServices& shell = host_.Shell();
    const ItemMenuState state{shell.Resolve(record->path), static_cast<int>(shell.OsMajor()), titles, group};
    GetCursorPos(&itemMenuAt_);
    RunItemCommand(static_cast<ItemCommand>(TrackPanelMenu(ItemMenuEntries(state))), group, item);
}

void MainPanel::RunItemCommand(ItemCommand command, size_t group, size_t item) {
    ItemRecord* found = GroupItem(group, item);
    if (!found) return;
    ItemRecord& record = *found;
    auto& items = host_.Groups()[group - 1].Items();
    ShellServices& shell = host_.Shell();
    if (const int to = MoveToIndex(command); to >= 0) return MoveItem(group, item, static_cast<size_t>(to) + 1);
    switch (command) {
    case ItemCommand::Edit: return OpenItemEditor(ItemPlace{group, item});
    case ItemCommand::RunAsAdministrator: return RunGroupItem(group, item, ShowMode::Normal, L"runas");
    case ItemCommand::RunMinimized: return RunGroupItem(group, item, ShowMode::Minimized, L"open");
    case ItemCommand::OpenFolder: shell.OpenFolder(shell.Resolve(record.path)); return;
    case ItemCommand::Delete:
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(item - 1));
        return GroupEdited(group, RedrawMode::ToTop);
    case ItemCommand::ReplaceWithBlank:
        // The cell stays where it is and keeps its launch count.
        record = {L"", L"", L"", L"", record.count};
        return GroupEdited(group);
    case ItemCommand::ExplorerMenu:
        // Where the item menu was: Explorer's menu stands in for it.
        docking_.SetKeepShown(true);
        shell.ShowExplorerMenu(hwnd(), shell.Resolve(record.path), itemMenuAt_);
        docking_.SetKeepShown(false);
        return;
    case ItemCommand::CopyPath: shell.CopyText(shell.Resolve(record.path)); return;
    case ItemCommand::CreateLink: return CreateDesktopShortcut(record);
    case ItemCommand::DeleteAll:
        if (host_.ShowMessage(kDeleteAllQuestion, MB_OKCANCEL | MB_ICONINFORMATION) == IDCANCEL) return;
        items.clear();
        return GroupEdited(group, RedrawMode::ToTop);
    default: return;
    }
}

void MainPanel::MoveItem(size_t group, size_t item, size_t toGroup) {
    auto& groups = host_.Groups();
    if (toGroup < 1 || toGroup > groups.size() || toGroup == group) return;
    const ItemRecord moved = groups[group - 1].Items()[item - 1];
    // Appended there with its launch count, through the same rules as any added item.
    if (!host_.AddItem(groups[toGroup - 1].Items(), moved.title, moved.path, moved.icoPath, moved.argument,
                       moved.count)) {
        host_.ShowBalloon(kMoveRefused);
        return;
    }
    // Still the same item, for whoever holds it (the editor).
    groups[toGroup - 1].Items().back().serial = moved.serial;
    auto& items = groups[group - 1].Items();
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(item - 1));
    GroupEdited(group, RedrawMode::ToTop);  // one save for both groups
}

void MainPanel::CreateDesktopShortcut(const ItemRecord& item) {
    ShellServices& shell = host_.Shell();
    const std::wstring desktop = shell.DesktopFolder();
    const std::wstring base = ShortcutBaseName(item.title);
    // One file name on the Desktop itself, never over a file already there.
    const auto taken = [&](const std::wstring& candidate) { return shell.Exists(desktop + L"\\" + candidate); };
    const std::wstring name = desktop.empty() ? std::wstring() : FreeShortcutFileName(base, taken);
    const std::wstring file = desktop + L"\\" + name;
    const bool saved =
        !name.empty() && shell.SaveShortcut(file, shell.Resolve(item.path), item.argument, shell.Resolve(item.icoPath));
    if (!saved) host_.ShowBalloon(kShortcutFailed + (name.empty() ? base : file));
}

void MainPanel::GroupEdited(size_t group, RedrawMode mode) {
    if (static_cast<int>(group) == currentTab_ && !searchMode_) itemPanel_->ItemsChanged(mode);
    SaveData();
}

}  // namespace mivra::win
