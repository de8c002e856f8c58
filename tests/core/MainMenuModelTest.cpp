// The main menu's entries in the state it opens in, and the items its "new
// item" entries add.

#include <gtest/gtest.h>

#include <algorithm>

#include "MenuCaptions.h"
#include "menus/MainMenuModel.h"

namespace mivra {
namespace {

using test::Captions;

const MenuEntry* Find(const std::vector<MenuEntry>& entries, MainCommand command) {
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const MenuEntry& e) {
        return e.kind == MenuEntry::Kind::Command && e.id == static_cast<unsigned>(command);
    });
    return found == entries.end() ? nullptr : &*found;
}

TEST(MainMenuModel, FromAPanelEveryEntryInOrder) {
    const auto entries = MainMenuEntries({});
    const std::vector<std::wstring> expected = {
        L"新建快捷项目", L"自定义内容", L"空项目", L"-", L"计算机", L"控制面板", L"回收站", L"清空回收站",
        L"关闭显示器", L"锁定", L"注销", L"关机", L"重启", L"-", L"计算机管理", L"设备管理器", L"服务",
        L"组策略\u3000", L"本地安全策略", L"注册表编辑器", L"计算器", L"]", L"批量操作[本组]", L"按名称排序",
        L"按路径排序", L"-", L"转为便携路径", L"转为绝对路径", L"]", L"进入命令模式", L"阻止自动隐藏", L"设置 关于",
        L"-", L"备忘录", L"更多工具", L"配置云备份", L"上传", L"下载", L"清空", L"]", L"锁定配置文件", L"自动关机",
        L"hosts 编辑器", L"]", L"-", L"检查更新", L"退出"};
    EXPECT_EQ(Captions(entries), expected);
    for (const MenuEntry& e : entries) EXPECT_FALSE(e.checked || e.greyed) << std::string(e.caption.begin(), e.caption.end());
}

TEST(MainMenuModel, TheItemCommandsAreLeftOutFromTheTrayAndOverSearchResults) {
    MainMenuState tray;
    tray.form = MainMenuForm::Tray;
    MainMenuState searching;
    searching.searchShown = true;
    for (const MainMenuState& state : {tray, searching}) {
        const auto entries = MainMenuEntries(state);
        EXPECT_EQ(Captions(entries).front(), L"进入命令模式");
        for (MainCommand gone : {MainCommand::EmptyItem, MainCommand::SystemTool, MainCommand::SortByTitle,
                                 MainCommand::ToPortable})
            EXPECT_EQ(Find(entries, gone), nullptr);
        EXPECT_NE(Find(entries, MainCommand::Exit), nullptr);
    }
}

TEST(MainMenuModel, CaptionsChecksAndGreyedEntriesFollowTheState) {
    MainMenuState state;
    state.commandMode = true;
    state.lockAutoHide = true;
    state.lockConfig = true;
    state.sortByCount = true;
    state.shutdownAt = L"23:30";
    const MainCommand unavailable[] = {MainCommand::Setup, MainCommand::CheckUpdate};
    state.unavailable = unavailable;
    const auto entries = MainMenuEntries(state);
    EXPECT_EQ(Find(entries, MainCommand::SwitchMode)->caption, L"回到普通模式");
    EXPECT_TRUE(Find(entries, MainCommand::LockAutoHide)->checked);
    EXPECT_TRUE(Find(entries, MainCommand::LockConfig)->checked);
    EXPECT_EQ(Find(entries, MainCommand::Shutdown)->caption, L"自动关机于 23:30");
    EXPECT_TRUE(Find(entries, MainCommand::Shutdown)->checked);
    // Sorted by launch count, sorting by title or path would change nothing.
    EXPECT_TRUE(Find(entries, MainCommand::SortByTitle)->greyed);
    EXPECT_TRUE(Find(entries, MainCommand::SortByPath)->greyed);
    EXPECT_FALSE(Find(entries, MainCommand::ToPortable)->greyed);
    EXPECT_TRUE(Find(entries, MainCommand::Setup)->greyed);
    EXPECT_TRUE(Find(entries, MainCommand::CheckUpdate)->greyed);
    EXPECT_FALSE(Find(entries, MainCommand::Exit)->greyed);
}

TEST(MainMenuModel, SystemEntriesAddTheirItems) {
    EXPECT_EQ(SystemFunctionItem(2, L"Mivra.exe"),
              (ItemRecord{L"回收站", L"%rp%\\Mivra.exe", L"%rp%\\Mivra.exe", L"bitbucket", L"0"}));
    EXPECT_EQ(SystemFunctionItem(8, L"Launcher.EXE").path, L"%rp%\\Launcher.exe");
    EXPECT_EQ(SystemFunctionItem(0, L"Mivra.exe").argument, L"drives");
    EXPECT_EQ(SystemToolItem(3), (ItemRecord{L"组策略\u3000", L"%SystemRoot%\\system32\\gpedit.msc",
                                             L"%SystemRoot%\\system32\\gpedit.msc", L"", L"0"}));
    EXPECT_EQ(SystemToolItem(5).path, L"%SystemRoot%\\regedit.exe");
    EXPECT_EQ(SystemFunctionIndex(MainCommand::SystemFunction), 0);
    EXPECT_EQ(SystemFunctionIndex(static_cast<MainCommand>(108)), 8);
    EXPECT_EQ(SystemFunctionIndex(static_cast<MainCommand>(109)), -1);
    EXPECT_EQ(SystemToolIndex(static_cast<MainCommand>(206)), 6);
    EXPECT_EQ(SystemToolIndex(MainCommand::Exit), -1);
    EXPECT_EQ(SystemToolItem(7), ItemRecord{});
}

}  // namespace
}  // namespace mivra
