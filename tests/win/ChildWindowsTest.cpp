// The group bar, an item panel and the search box made on their own, in a
// plain parent window, with a recorder of what they report: none of them
// needs the main panel.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "FakePanelHost.h"
#include "GroupMakers.h"
#include "MessagePump.h"
#include "groupbar/GroupBar.h"
#include "itempanel/ItemPanel.h"
#include "main/PanelLook.h"
#include "search/SearchBox.h"

namespace mivra::test {
namespace {

// Writes down each report as a line.
class Recorder final : public win::GroupBarEvents, public win::SearchBoxEvents {
public:
    std::vector<std::wstring> said;
    win::GroupBar* bar = nullptr;  // told of selections, as the panel would

    void TabSelected(int position) override {
        said.push_back(L"select " + std::to_wstring(position));
        if (bar) bar->SetCurrentTab(position);
    }
    void TabMoved(int from, int to) override {
        said.push_back(L"move " + std::to_wstring(from) + L" " + std::to_wstring(to));
    }
    void GroupCommandChosen(win::GroupCommand command) override {
        said.push_back(L"command " + std::to_wstring(static_cast<int>(command)));
    }
    void GroupTitleTyped(std::wstring_view title) override { said.push_back(L"title " + std::wstring(title)); }
    void PanelDragged() override { said.push_back(L"drag"); }
    void MainMenuRequested() override { said.push_back(L"main menu"); }
    void ItemMenuRequested(size_t group, size_t item) override {
        said.push_back(L"item menu " + std::to_wstring(group) + L" " + std::to_wstring(item));
    }
    void MenuShown(bool open) override { said.push_back(open ? L"menu" : L"menu closed"); }
    void GroupItemChosen(size_t group, size_t item, ShowMode show, std::wstring_view verb) override {
        said.push_back(L"start " + std::to_wstring(group) + L" " + std::to_wstring(item) + L" " +
                       std::to_wstring(static_cast<int>(show)) + L" " + std::wstring(verb));
    }
    void SearchResultStarted() override { said.push_back(L"result started"); }
    void ItemsChanged() override { said.push_back(L"changed"); }
    void HideRequested(HideMode mode) override { said.push_back(L"hide " + std::to_wstring(static_cast<int>(mode))); }
    void TipChanged(HWND, const std::wstring&) override {}
    void CaptionChanged(const std::wstring&) override {}
    void PanelKey(UINT virtualKey) override { said.push_back(L"key " + std::to_wstring(virtualKey)); }
};

class ChildWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.config.LoadOptions();
        host.groups = {MakeGroup(L"A", 3), MakeGroup(L"B", 1), MakeGroup(L"C", 0)};
        parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                                 nullptr);
        ASSERT_TRUE(parent);
    }
    void TearDown() override { DestroyWindow(parent); }

    LPARAM At(Point p) { return MAKELPARAM(p.x, p.y); }

    FakePanelHost host;
    win::PanelLook look = win::PanelLook::BuiltIn();
    win::PanelContext context{GetModuleHandleW(nullptr), look, host.config, host.groups, host};
    Recorder recorder;
    HWND parent = nullptr;
};

TEST_F(ChildWindowsTest, TheGroupBarReportsSelectionsMovesDragsAndCommands) {
    auto bar = win::MakeWindow<win::GroupBar>(context, static_cast<win::GroupBarEvents&>(recorder));
    recorder.bar = bar.get();
    ASSERT_TRUE(bar->Create(parent));
    const TabBarGeometry geometry = ReHeight({TabBarView::Top, 300, 0, 0, 0}, 3);
    bar->SetGeometry(geometry);
    MoveWindow(bar->hwnd(), 0, 0, geometry.width, geometry.height, FALSE);
    ShowWindow(bar->hwnd(), SW_SHOWNA);
    const auto tab = [&](int position) {
        const Point at = GetTabPos(geometry, position);
        return Point{at.x + 5, at.y + 5};
    };

    SendMessageW(bar->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(tab(2)));
    SendMessageW(bar->hwnd(), WM_LBUTTONUP, 0, At(tab(3)));
    SendMessageW(bar->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(tab(3)));
    EXPECT_EQ(recorder.said, (std::vector<std::wstring>{L"select 2", L"move 2 3",
                                                        L"command " + std::to_wstring(int(win::GroupCommand::Rename))}));
    EXPECT_EQ(bar->CurrentTab(), 2);
}

TEST_F(ChildWindowsTest, AnItemPanelReportsTheItemToStartAndDragsOfThePanel) {
    auto panel = win::MakeWindow<win::ItemPanel>(context, static_cast<win::ItemPanelEvents&>(recorder));
    ASSERT_TRUE(panel->Create(parent));
    MoveWindow(panel->hwnd(), 0, 0, 300, 200, FALSE);
    ShowWindow(panel->hwnd(), SW_SHOWNA);
    panel->ShowGroup(1);
    panel->ReDraw(RedrawMode::ToTop);
    const Point cell = GetItemPos(panel->Grid(), 2);
    const LPARAM second = MAKELPARAM(cell.x + panel->Grid().cellW / 2, cell.y + panel->Grid().cellH / 2);

    SendMessageW(panel->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, second);
    host.now += 100;
    SendMessageW(panel->hwnd(), WM_LBUTTONUP, 0, second);
    SendMessageW(panel->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(290, 190));  // on no item
    SendMessageW(panel->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(290, 190));
    SendMessageW(panel->hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(290, 190));
    EXPECT_EQ(recorder.said, (std::vector<std::wstring>{L"start 1 2 1 open", L"drag", L"main menu"}));
}

TEST_F(ChildWindowsTest, TheSearchBoxStartsAResultInItsOwnGroupAndHandsOnThePanelsKeys) {
    auto box = win::MakeWindow<win::SearchBox>(context, static_cast<win::SearchBoxEvents&>(recorder));
    ASSERT_TRUE(box->Create(parent));
    MoveWindow(box->hwnd(), 0, 0, 300, 200, FALSE);
    ShowWindow(box->hwnd(), SW_SHOWNA);
    box->ReDraw();
    box->SetText(L"item 3");
    ASSERT_EQ(box->List().size(), 1u);

    SendMessageW(box->QueryWindow(), WM_CHAR, L'\r', 0);
    SendMessageW(box->QueryWindow(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(recorder.said, (std::vector<std::wstring>{L"start 1 3 1 open", L"result started",
                                                        L"key " + std::to_wstring(VK_ESCAPE)}));
}

// In command mode the pointer neither hovers nor starts a result: a left press
// moves the panel, a right release opens the main menu, even on a result.
TEST_F(ChildWindowsTest, InCommandModeThePointerOnlyMovesThePanelAndOpensTheMainMenu) {
    host.config.SetOption(Opt::CommandMode, L"1");
    auto box = win::MakeWindow<win::SearchBox>(context, static_cast<win::SearchBoxEvents&>(recorder));
    ASSERT_TRUE(box->Create(parent));
    MoveWindow(box->hwnd(), 0, 0, 300, 200, FALSE);
    ShowWindow(box->hwnd(), SW_SHOWNA);
    box->ReDraw();
    box->SetText(L"item");
    ASSERT_GE(box->List().size(), 1u);
    HWND results = box->Results().hwnd();
    const Point cell = GetItemPos(box->Results().Grid(), 1);
    const LPARAM first = MAKELPARAM(cell.x + 5, cell.y + 5);

    SendMessageW(results, WM_MOUSEMOVE, 0, first);
    SendMessageW(results, WM_LBUTTONDOWN, MK_LBUTTON, first);
    SendMessageW(results, WM_LBUTTONUP, 0, first);
    SendMessageW(results, WM_RBUTTONDOWN, MK_RBUTTON, first);
    SendMessageW(results, WM_RBUTTONUP, 0, first);
    EXPECT_EQ(recorder.said, (std::vector<std::wstring>{L"drag", L"main menu"}));
}

}  // namespace
}  // namespace mivra::test
