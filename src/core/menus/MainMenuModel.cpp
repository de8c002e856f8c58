#include "menus/MainMenuModel.h"

#include <algorithm>
#include <array>

#include "text/Strings.h"

namespace mivra {
namespace {

constexpr std::array<std::wstring_view, kSystemFunctionCount> kSystemFunctions = {
    L"计算机", L"控制面板", L"回收站", L"清空回收站", L"关闭显示器", L"锁定", L"注销", L"关机", L"重启"};
constexpr std::array<std::wstring_view, kSystemFunctionCount> kSystemFunctionKeywords = {
    L"drives", L"controls", L"bitbucket", L"emptyrecyclebin", L"screenoff", L"lockworkstation",
    L"logoff", L"shutdown", L"reboot"};
// "组策略　" ends with an ideographic space, kept in the item's title.
constexpr std::array<std::wstring_view, kSystemToolCount> kSystemTools = {
    L"计算机管理", L"设备管理器", L"服务", L"组策略\u3000", L"本地安全策略", L"注册表编辑器", L"计算器"};
constexpr std::array<std::wstring_view, kSystemToolCount> kSystemToolPaths = {
    L"%SystemRoot%\\system32\\compmgmt.msc", L"%SystemRoot%\\system32\\devmgmt.msc",
    L"%SystemRoot%\\system32\\services.msc", L"%SystemRoot%\\system32\\gpedit.msc",
    L"%SystemRoot%\\system32\\secpol.msc",   L"%SystemRoot%\\regedit.exe",
    L"%SystemRoot%\\system32\\calc.exe"};

MainCommand Offset(MainCommand first, size_t index) {
    return static_cast<MainCommand>(static_cast<unsigned>(first) + index);
}

int IndexIn(MainCommand command, MainCommand first, size_t count) {
    const unsigned value = static_cast<unsigned>(command), start = static_cast<unsigned>(first);
    return value >= start && value < start + count ? static_cast<int>(value - start) : -1;
}

class Builder {
public:
    explicit Builder(const MainMenuState& state) : state_(state) {}
    void Command(std::wstring_view caption, MainCommand command, bool checked = false, bool greyed = false) {
        const auto& off = state_.unavailable;
        greyed = greyed || std::find(off.begin(), off.end(), command) != off.end();
        entries_.push_back(
            {MenuEntry::Kind::Command, std::wstring(caption), static_cast<unsigned>(command), checked, greyed});
    }
    void Separator() { entries_.push_back({MenuEntry::Kind::Separator}); }
    void Submenu(std::wstring_view caption) { entries_.push_back({MenuEntry::Kind::Submenu, std::wstring(caption)}); }
    void End() { entries_.push_back({MenuEntry::Kind::EndSubmenu}); }
    std::vector<MenuEntry> Take() { return std::move(entries_); }

private:
    const MainMenuState& state_;
    std::vector<MenuEntry> entries_;
};

}  // namespace

int SystemFunctionIndex(MainCommand command) {
    return IndexIn(command, MainCommand::SystemFunction, kSystemFunctionCount);
}

int SystemToolIndex(MainCommand command) { return IndexIn(command, MainCommand::SystemTool, kSystemToolCount); }

std::vector<MenuEntry> MainMenuEntries(const MainMenuState& state) {
    Builder menu(state);
    // The item commands act on the group shown: not from the tray, nor over search results.
    const bool itemCommands = state.form == MainMenuForm::Panel && !state.searchShown;
    if (itemCommands) {
        menu.Submenu(L"新建快捷项目");
        menu.Command(L"自定义内容", MainCommand::CustomItem);
        menu.Command(L"空项目", MainCommand::EmptyItem);
        menu.Separator();
        for (size_t i = 0; i < kSystemFunctionCount; ++i)
            menu.Command(kSystemFunctions[i], Offset(MainCommand::SystemFunction, i));
        menu.Separator();
        for (size_t i = 0; i < kSystemToolCount; ++i) menu.Command(kSystemTools[i], Offset(MainCommand::SystemTool, i));
        menu.End();
        menu.Submenu(L"批量操作[本组]");
        // Sorted by launch count, the group keeps that order: these would change nothing.
        menu.Command(L"按名称排序", MainCommand::SortByTitle, false, state.sortByCount);
        menu.Command(L"按路径排序", MainCommand::SortByPath, false, state.sortByCount);
        menu.Separator();
        menu.Command(L"转为便携路径", MainCommand::ToPortable);
        menu.Command(L"转为绝对路径", MainCommand::ToAbsolute);
        menu.End();
    }
    menu.Command(state.commandMode ? L"回到普通模式" : L"进入命令模式", MainCommand::SwitchMode);
    menu.Command(L"阻止自动隐藏", MainCommand::LockAutoHide, state.lockAutoHide);
    menu.Command(L"设置 关于", MainCommand::Setup);
    menu.Separator();
    menu.Command(L"备忘录", MainCommand::OpenMemo);
    menu.Submenu(L"更多工具");
    menu.Submenu(L"配置云备份");
    menu.Command(L"上传", MainCommand::SyncUpload);
    menu.Command(L"下载", MainCommand::SyncDownload);
    menu.Command(L"清空", MainCommand::SyncClear);
    menu.End();
    menu.Command(L"锁定配置文件", MainCommand::LockConfig, state.lockConfig);
    const bool armed = !state.shutdownAt.empty();
    menu.Command(armed ? L"自动关机于 " + state.shutdownAt : L"自动关机", MainCommand::Shutdown, armed);
    menu.Command(L"hosts 编辑器", MainCommand::HostsEditor);
    menu.End();
    menu.Separator();
    menu.Command(L"检查更新", MainCommand::CheckUpdate);
    menu.Command(L"退出", MainCommand::Exit);
    return menu.Take();
}

ItemRecord SystemFunctionItem(int index, std::wstring_view exeName) {
    if (index < 0 || index >= static_cast<int>(kSystemFunctionCount)) return {};
    std::wstring base(exeName);
    if (base.size() >= 4 && EqualsNoCase(std::wstring_view(base).substr(base.size() - 4), L".exe"))
        base.resize(base.size() - 4);
    const std::wstring path = L"%rp%\\" + base + L".exe";
    return {std::wstring(kSystemFunctions[index]), path, path, std::wstring(kSystemFunctionKeywords[index]), L"0"};
}

ItemRecord SystemToolItem(int index) {
    if (index < 0 || index >= static_cast<int>(kSystemToolCount)) return {};
    const std::wstring path(kSystemToolPaths[index]);
    return {std::wstring(kSystemTools[index]), path, path, L"", L"0"};
}

}  // namespace mivra
