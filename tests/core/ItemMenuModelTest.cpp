// The item menu's entries for an item's target, and the desktop shortcut's file name.

#include <gtest/gtest.h>

#include <set>

#include "MenuCaptions.h"
#include "menus/ItemMenuModel.h"

namespace mivra {
namespace {

using test::Captions;

TEST(ItemMenuModel, EntriesFollowTheTarget) {
    const std::wstring groups[] = {L"工具", L"文档", L"网站"};
    const std::vector<std::wstring> always = {L"移动到", L"工具", L"文档", L"网站", L"]", L"编辑(&E)", L"删除(&D)", L"-",
                                              L"替换为空项目", L"复制完整路径"};
    const auto local = [&](std::vector<std::wstring> head) {
        head.insert(head.end(), {L"最小化运行(&N)", L"打开文件位置(&F)", L"资源管理器菜单(&X)", L"-"});
        head.insert(head.end(), always.begin(), always.end());
        head.insert(head.end(), {L"创建桌面快捷方式", L"-", L"删除全部项目"});
        return head;
    };
    std::vector<std::wstring> remote = always;
    remote.insert(remote.end(), {L"-", L"删除全部项目"});
    const struct {
        const wchar_t* path;
        int osMajor;
        std::vector<std::wstring> expected;
    } cases[] = {
        {L"C:\\Tools\\a.BAT", 10, local({L"管理员权限运行(&A)"})},
        {L"C:\\Tools\\a.exe", 10, local({L"管理员权限运行(&A)"})},
        {L"C:\\Tools\\a.exe", 5, local({})},
        {L"C:\\Tools\\a.cmd", 10, local({})},
        {L"C:\\Docs", 10, local({})},
        {L"https://example.com/", 10, remote},
        {L"\\\\server\\share\\a.exe", 10, remote},
        {L"", 10, remote},
    };
    for (const auto& c : cases) {
        ItemMenuState state{c.path, c.osMajor, groups, 2};
        EXPECT_EQ(Captions(ItemMenuEntries(state)), c.expected) << std::wstring_view(c.path).size();
    }
}

TEST(ItemMenuModel, TheOwnGroupIsGreyedUnderMoveTo) {
    const std::wstring groups[] = {L"A", L"B", L"C"};
    const auto entries = ItemMenuEntries({L"", 10, groups, 3});
    std::vector<bool> greyed;
    for (const MenuEntry& e : entries)
        if (MoveToIndex(static_cast<ItemCommand>(e.id)) >= 0) greyed.push_back(e.greyed);
    EXPECT_EQ(greyed, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(MoveToIndex(static_cast<ItemCommand>(1002)), 2);
    EXPECT_EQ(MoveToIndex(ItemCommand::DeleteAll), -1);
}

TEST(ShortcutName, IsOneValidFileNameOnTheDesktop) {
    const struct {
        const wchar_t* title;
        const wchar_t* name;
    } cases[] = {
        {L"记事本", L"记事本"},
        {L"Tom && Jerry", L"Tom & Jerry"},
        {L"a/b\\c:d*e?f\"g<h>i|j", L"abcdefghij"},
        {L"..\\..\\Windows\\evil", L"Windowsevil"},
        {L"name. . ", L"name"},
        {L"CON", L"_CON"},
        {L"com1.txt", L"_com1.txt"},
        {L"COM10", L"COM10"},
        {L"", L"快捷方式"},
        {L"\\/:", L"快捷方式"},
        {L"...", L"快捷方式"},
    };
    for (const auto& c : cases) EXPECT_EQ(ShortcutBaseName(c.title), c.name) << std::wstring_view(c.title).size();
    EXPECT_LE(ShortcutBaseName(std::wstring(400, L'x')).size(), 240u);
}

TEST(ShortcutName, AnExistingFileIsNeverTaken) {
    std::set<std::wstring> desktop = {L"记事本.lnk", L"记事本 (2).lnk"};
    const auto taken = [&](const std::wstring& name) { return desktop.count(name) > 0; };
    EXPECT_EQ(FreeShortcutFileName(L"记事本", taken), L"记事本 (3).lnk");
    EXPECT_EQ(FreeShortcutFileName(L"计算器", taken), L"计算器.lnk");
    EXPECT_EQ(FreeShortcutFileName(L"x", [](const std::wstring&) { return true; }), L"");
}

}  // namespace
}  // namespace mivra
