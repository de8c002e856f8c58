// The panel's menus opened as a user opens them (a right click on an item,
// the title bar's menu button) and their commands chosen through the menus'
// own keyboard messages; the stored file is read back after each.

#include <gtest/gtest.h>
#include <windows.h>

#include "base/WinCodePage.h"
#include "support/MenuChooser.h"
#include "support/PanelFixture.h"

namespace mivra::test {
namespace {

class MenuCommandsTest : public PanelTest {
protected:
    void Start(std::vector<Group> groups) {
        host.storeGroups = true;
        PanelTest::Start(std::move(groups));
    }
    // The titles of every group's items as the file holds them.
    std::vector<std::vector<std::wstring>> Stored() {
        RecordingNotifier notifier;
        Configuration file(win::SystemCodePage(), host.storage, notifier);
        std::vector<std::vector<std::wstring>> titles;
        if (auto loaded = file.LoadGroups())
            for (const Group& group : loaded->groups) {
                titles.emplace_back();
                for (const ItemRecord& item : group.Items()) titles.back().push_back(item.title);
            }
        return titles;
    }
    // A right click on the item's cell; `path` is what is chosen in its menu
    // (nothing: the menu is cancelled). Whether the menu came and had it.
    bool ChooseForItem(int item, std::vector<std::wstring> path) {
        const bool cancel = path.empty();
        MenuChooser chooser(std::move(path));
        const POINT p = CellCentre(item);
        SendMessageW(items, WM_RBUTTONDOWN, MK_RBUTTON, At(p.x, p.y));
        SendMessageW(items, WM_RBUTTONUP, 0, At(p.x, p.y));
        Pump();
        return cancel ? chooser.MenuSeen() : chooser.Chosen();
    }
    bool ChooseFromMainMenu(std::vector<std::wstring> path) {
        MenuChooser chooser(std::move(path));
        panel->ShowMainMenu(MainMenuForm::Panel);
        Pump();
        return chooser.Chosen();
    }
    static ItemRecord Item(const wchar_t* title, const wchar_t* path) { return {title, path, path, L"", L"0"}; }
    using Titles = std::vector<std::vector<std::wstring>>;
};

TEST_F(MenuCommandsTest, TheItemMenusCommandsChosenByKeysChangeTheFile) {
    Start({Group{L"A", {Item(L"a", L"C:\\a.exe"), Item(L"b", L"C:\\b.exe"), Item(L"c", L"https://example.com/")}},
           Group{L"B", {Item(L"d", L"C:\\d.exe")}}});
    ASSERT_TRUE(ChooseForItem(1, {L"移动到", L"B"}));
    EXPECT_EQ(Stored(), (Titles{{L"b", L"c"}, {L"d", L"a"}}));
    ASSERT_TRUE(ChooseForItem(2, {L"替换为空项目"})) << "a web address's shorter menu";
    EXPECT_EQ(Stored(), (Titles{{L"b", L""}, {L"d", L"a"}}));
    ASSERT_TRUE(ChooseForItem(1, {L"删除(&D)"}));
    EXPECT_EQ(Stored(), (Titles{{L""}, {L"d", L"a"}}));
    const int saves = host.saves;
    EXPECT_TRUE(ChooseForItem(1, {}));
    EXPECT_EQ(host.saves, saves) << "a cancelled menu changes nothing";
    host.answer = IDOK;
    ASSERT_TRUE(ChooseForItem(1, {L"删除全部项目"}));
    EXPECT_EQ(Stored(), (Titles{{}, {L"d", L"a"}}));
}

TEST_F(MenuCommandsTest, TheMainMenusCommandsChosenByKeysChangeTheFile) {
    Start({Group{L"A", {Item(L"b", L"C:\\b.exe"), Item(L"a", L"C:\\a.exe")}}});
    ASSERT_TRUE(ChooseFromMainMenu({L"新建快捷项目", L"空项目"}));
    EXPECT_EQ(Stored(), (Titles{{L"b", L"a", L""}}));
    ASSERT_TRUE(ChooseFromMainMenu({L"新建快捷项目", L"组策略\u3000"}));
    EXPECT_EQ(Stored(), (Titles{{L"b", L"a", L"", L"组策略\u3000"}}));
    ASSERT_TRUE(ChooseFromMainMenu({L"批量操作[本组]", L"按名称排序"}));
    EXPECT_EQ(Stored(), (Titles{{L"", L"a", L"b", L"组策略\u3000"}})) << "sorted by title";
    ASSERT_TRUE(ChooseFromMainMenu({L"新建快捷项目", L"自定义内容"}));
    EXPECT_TRUE(panel->Editor()) << "the editor opened";
}

}  // namespace
}  // namespace mivra::test
