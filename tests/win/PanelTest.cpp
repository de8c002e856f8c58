// The main panel in this process, with a host that records what the panel
// asks of the program: loading at the first tick, selecting, the group
// commands, dropped files, clicks, drags and repainting.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <dbt.h>

#include <cstring>
#include <functional>
#include <set>
#include <thread>
#include <atomic>

#include "FakePanelHost.h"
#include "GroupMakers.h"
#include "MemoryStorage.h"
#include "MessagePump.h"
#include "base/WinCodePage.h"
#include "data/DataFile.h"
#include "base/Files.h"
#include "config/FileConfigStorage.h"
#include "itempanel/ItemPanel.h"
#include "items/SystemIcons.h"
#include "main/MainPanel.h"
#include "main/PanelLook.h"
#include "search/SearchBox.h"
#include "support/PanelFixture.h"
#include "support/WindowPixels.h"
#include "support/TestSupport.h"

namespace mivra::test {
namespace {

TEST_F(PanelTest, FirstTickLoadsTheDataAndSelectsTheStoredGroup) {
    Start({MakeGroup(L"A", 1), MakeGroup(L"B", 2), MakeGroup(L"C", 0)}, "[Config]\r\nActivatedTab=2\r\n");
    EXPECT_EQ(panel->CurrentTab(), 2);
    EXPECT_TRUE(IsWindowVisible(items));
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(panel->ActivatedTab(), 2);
}

TEST_F(PanelTest, TheShadowRingsThePanelTakesNoClickOverItAndFollowsIt) {
    Start({MakeGroup(L"A", 1)});
    HWND shadow = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (shadow = FindWindowExW(nullptr, nullptr, L"MivraShadow", nullptr)) != nullptr; }))
        << "made once the first group is on the screen";
    EXPECT_EQ(GetWindow(shadow, GW_OWNER), panel->hwnd());
    EXPECT_TRUE(IsWindowVisible(shadow));
    const auto rectOf = [](HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        return r;
    };
    const auto ringsThePanel = [&] {
        const RECT p = rectOf(panel->hwnd()), s = rectOf(shadow);
        return s.left == p.left - 6 && s.top == p.top - 6 && s.right == p.right + 6 && s.bottom == p.bottom + 6;
    };
    EXPECT_TRUE(ringsThePanel());
    const RECT p = rectOf(panel->hwnd());
    const POINT centre{(p.left + p.right) / 2, (p.top + p.bottom) / 2};
    EXPECT_EQ(GetAncestor(WindowFromPoint(centre), GA_ROOT), panel->hwnd()) << "clicks over the panel reach it";
    EXPECT_EQ(WindowFromPoint(POINT{p.left - 3, centre.y}), shadow) << "the ring takes its own";

    SetWindowPos(panel->hwnd(), nullptr, 300, 150, 400, 420, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(ringsThePanel()) << "moved and resized with the panel";
    ShowWindow(panel->hwnd(), SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(shadow));
}

TEST_F(PanelTest, AStoredTabOutOfRangeAndAnEmptyFileStartOnOneDefaultGroup) {
    Start({}, "[Config]\r\nActivatedTab=9\r\n");
    ASSERT_EQ(host.groups.size(), 1u);
    EXPECT_EQ(host.groups[0].title, L"1分组");
    EXPECT_EQ(panel->CurrentTab(), 1);
}

TEST_F(PanelTest, DroppedFilesBecomeItemsInOrderWithOneSave) {
    Start({MakeGroup(L"A", 1)});
    const wchar_t files[] = L"C:\\Tools\\app.exe\0D:\\Photos\0C:\\old.files\\readme\0C:\\R&D\\x.doc\0";
    const size_t bytes = sizeof(DROPFILES) + sizeof files;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, files, sizeof files);
    GlobalUnlock(memory);
    SendMessageW(panel->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);

    ASSERT_EQ(host.groups[0].Items().size(), 5u);
    const wchar_t* titles[] = {L"app", L"Photos", L"readme", L"x"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(host.groups[0].Items()[i + 1].title, titles[i]);
        EXPECT_EQ(host.groups[0].Items()[i + 1].count, L"0");
    }
    EXPECT_EQ(host.groups[0].Items()[2].icoPath, L"D:\\Photos");
    EXPECT_EQ(host.saves, 1);
}

TEST_F(PanelTest, AClickStartsTheItemButNotAgainWithinHalfASecond) {
    Start({MakeGroup(L"A", 3)});
    Click(2);
    ASSERT_EQ(host.started, std::vector<std::wstring>{L"item 2"});
    EXPECT_EQ(host.groups[0].Items()[1].count, L"1");
    EXPECT_EQ(host.saves, 1);
    Click(3);
    EXPECT_EQ(host.started.size(), 1u) << "a release at the time of a start is no click";
    host.now += 499;
    Click(3);
    EXPECT_EQ(host.started.size(), 1u) << "a release within 500 ms of a start is no click";
    host.now += 1;
    Click(3);
    EXPECT_EQ(host.started.size(), 2u);
}

TEST_F(PanelTest, DraggingAnItemOntoAnotherPutsItBeforeIt) {
    Start({MakeGroup(L"A", 5)});
    const POINT from = CellCentre(5), to = CellCentre(2);
    SendMessageW(items, WM_MOUSEMOVE, 0, At(from.x, from.y));
    SendMessageW(items, WM_LBUTTONDOWN, MK_LBUTTON, At(from.x, from.y));
    SendMessageW(items, WM_MOUSEMOVE, MK_LBUTTON, At(to.x, to.y));
    SendMessageW(items, WM_LBUTTONUP, 0, At(to.x, to.y));
    std::vector<std::wstring> order;
    for (const auto& item : host.groups[0].Items()) order.push_back(item.title);
    EXPECT_EQ(order, (std::vector<std::wstring>{L"item 1", L"item 5", L"item 2", L"item 3", L"item 4"}));
    EXPECT_TRUE(host.started.empty());
    EXPECT_EQ(host.saves, 1);
}

TEST_F(PanelTest, LockedItemsDoNotMove) {
    Start({MakeGroup(L"A", 3)}, "[Config]\r\nLockItems=1\r\n");
    const POINT from = CellCentre(3), to = CellCentre(1);
    SendMessageW(items, WM_MOUSEMOVE, 0, At(from.x, from.y));
    SendMessageW(items, WM_LBUTTONDOWN, MK_LBUTTON, At(from.x, from.y));
    SendMessageW(items, WM_MOUSEMOVE, MK_LBUTTON, At(to.x, to.y));
    SendMessageW(items, WM_LBUTTONUP, 0, At(to.x, to.y));
    EXPECT_EQ(host.groups[0].Items()[0].title, L"item 1");
    EXPECT_EQ(host.saves, 0);
}

TEST_F(PanelTest, HoveringRepaintsOneCellOnly) {
    Start({MakeGroup(L"A", 12)});
    UpdateWindow(items);
    const POINT p = CellCentre(4);
    SendMessageW(items, WM_MOUSEMOVE, 0, At(p.x, p.y));
    RECT dirty{};
    ASSERT_TRUE(GetUpdateRect(items, &dirty, FALSE));
    RECT client{};
    GetClientRect(items, &client);
    const int columns = std::max(1, static_cast<int>(client.right / 126));
    EXPECT_EQ(dirty.right - dirty.left, client.right / columns);
    EXPECT_EQ(dirty.bottom - dirty.top, 46);
    UpdateWindow(items);
    SendMessageW(items, WM_MOUSEMOVE, 0, At(p.x + 1, p.y));
    EXPECT_FALSE(GetUpdateRect(items, &dirty, FALSE)) << "moving within the hovered cell repaints nothing";
}

TEST_F(PanelTest, GroupCommands) {
    Start({MakeGroup(L"A", 2), MakeGroup(L"B", 1), MakeGroup(L"C", 0)});
    panel->NewGroup();
    ASSERT_EQ(host.groups.size(), 4u);
    EXPECT_EQ(host.groups[3].title, L"4分组");
    EXPECT_EQ(panel->CurrentTab(), 1) << "a new group is not selected";
    EXPECT_EQ(host.saves, 1);

    // Deleting the first group asks, naming the second, and moves its items there.
    host.answer = IDCANCEL;
    panel->DeleteGroup();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], L"选定的分组将被删除，组内项目将会移至默认分组「B」。\r\n确定删除选定分组吗？");
    EXPECT_EQ(host.groups.size(), 4u) << "Cancel changes nothing";
    EXPECT_EQ(host.saves, 1);
    host.answer = IDOK;
    panel->DeleteGroup();
    ASSERT_EQ(host.groups.size(), 3u);
    EXPECT_EQ(host.groups[0].title, L"B");
    ASSERT_EQ(host.groups[0].Items().size(), 3u);
    EXPECT_EQ(host.groups[0].Items()[1].title, L"item 1");
    EXPECT_EQ(panel->CurrentTab(), 1);
    EXPECT_EQ(host.saves, 2);

    // An empty group goes without a question.
    panel->SelTab(2);
    panel->DeleteGroup();
    EXPECT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.groups.size(), 2u);
    EXPECT_EQ(panel->CurrentTab(), 1);

    panel->MoveTab(2, 1);
    EXPECT_EQ(host.groups[0].title, L"4分组");
    EXPECT_EQ(panel->CurrentTab(), 1);

    panel->CommitGroupTitle(L"  Work=Day ");
    EXPECT_EQ(host.groups[0].title, L"WorkDay");
    panel->SelTab(2);
    panel->CommitGroupTitle(L"WorkDay");
    EXPECT_EQ(host.groups[1].title, L"2 WorkDay");

    panel->DeleteAllGroups();
    EXPECT_EQ(host.messages.back(), L"确定删除全部分组吗？");
    ASSERT_EQ(host.groups.size(), 1u);
    EXPECT_EQ(host.groups[0].title, L"1分组");
    EXPECT_TRUE(host.groups[0].Items().empty());
    EXPECT_EQ(panel->CurrentTab(), 1);
}


// The pixels of a DC's top-left `width` x `height`.
std::vector<std::uint32_t> Snapshot(HDC source, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    win::UniqueGdiObject bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap.get());
    BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                      static_cast<const std::uint32_t*>(bits) + width * height);
    SelectObject(dc, old);
    DeleteDC(dc);
    return pixels;
}

// Whether the icon place of an item's cell (default view: 32-pixel icons
// 7 pixels into cells 46 high) shows more than the cell's face.
bool IconPainted(HDC canvas, POINT cellOrigin) {
    const std::vector<std::uint32_t> all = Snapshot(canvas, cellOrigin.x + 39, cellOrigin.y + 39);
    const int width = cellOrigin.x + 39;
    std::set<std::uint32_t> colours;
    for (int y = cellOrigin.y + 7; y < cellOrigin.y + 39; ++y)
        for (int x = cellOrigin.x + 7; x < cellOrigin.x + 39; ++x) colours.insert(all[y * width + x]);
    return colours.size() > 3;
}

// A target that was missing gets its icon once it is there: when its group
// is selected again, when the panel is shown again, when a drive arrives.
TEST_F(PanelTest, AMissingTargetGetsItsIconWhenItAppears) {
    ScratchDir scratch;
    std::vector<std::filesystem::path> later;
    Group group{L"A", {}};
    // Item 4 is there from the start: the test knows when the look-ups are done.
    for (int i = 1; i <= 3; ++i) {
        later.push_back(scratch / (L"later" + std::to_wstring(i) + L".txt"));
        group.Items().push_back({L"later", later.back().wstring(), later.back().wstring(), L"", L"0"});
    }
    WriteBytes(scratch / L"there.txt", "text");
    group.Items().push_back({L"there", (scratch / L"there.txt").wstring(), (scratch / L"there.txt").wstring(), L"", L"0"});
    host.realIcons = true;
    Start({group, MakeGroup(L"B", 1)});
    HDC canvas = ItemPanelObject().Canvas();
    const auto origin = [&](int item) {
        const POINT centre = CellCentre(item);
        return POINT{centre.x - ItemPanelObject().Grid().cellW / 2, centre.y - 23};
    };
    // The first paint has asked for the icons; what the look-up found is drawn.
    ASSERT_TRUE(PumpUntil([&] { return IconPainted(canvas, origin(4)); }));
    for (int item = 1; item <= 3; ++item) ASSERT_FALSE(IconPainted(canvas, origin(item))) << item;

    const auto appear = [&](int item) {
        WriteBytes(later[item - 1], "text");
        ItemPanelObject().ReDraw(RedrawMode::KeepScroll);
        Pump();
        return !IconPainted(ItemPanelObject().Canvas(), origin(item));
    };
    ASSERT_TRUE(appear(1)) << "a repaint alone does not look again";
    panel->SelTab(2);
    panel->SelTab(1);
    EXPECT_TRUE(PumpUntil([&] { return IconPainted(ItemPanelObject().Canvas(), origin(1)); }))
        << "the group selected again";

    ASSERT_TRUE(appear(2));
    ShowWindow(panel->hwnd(), SW_HIDE);
    ShowWindow(panel->hwnd(), SW_SHOWNA);
    EXPECT_TRUE(PumpUntil([&] { return IconPainted(ItemPanelObject().Canvas(), origin(2)); }))
        << "the panel shown again";

    ASSERT_TRUE(appear(3));
    SendMessageW(panel->hwnd(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
    EXPECT_TRUE(PumpUntil([&] { return IconPainted(ItemPanelObject().Canvas(), origin(3)); })) << "a drive arrived";
}

TEST_F(PanelTest, ScrollingPaintsWhatAFullRepaintWould) {
    Start({MakeGroup(L"A", 300)});
    win::ItemPanel& panel = ItemPanelObject();
    const int w = panel.Grid().innerWidth, h = panel.Grid().innerHeight;
    for (int steps : {1, 3, 2}) {
        for (int i = 0; i < steps; ++i)
            SendMessageW(this->panel->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
        SendMessageW(this->panel->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
        const auto shifted = Snapshot(panel.Canvas(), w, h);
        panel.ReDraw(RedrawMode::KeepScroll);
        EXPECT_TRUE(shifted == Snapshot(panel.Canvas(), w, h)) << "after scrolling to row " << panel.Grid().scrollRow;
    }
    EXPECT_EQ(panel.Grid().scrollRow, 3);
}

TEST_F(PanelTest, WheelAndThumbScrollByWholeRows) {
    // One column of 46-pixel rows; the item panel is 340 pixels high: 7 rows fit.
    Start({MakeGroup(L"A", 40)}, "[Config]\r\nItemBarView=0\r\n");
    const win::ItemPanel& panel = ItemPanelObject();
    ASSERT_EQ(panel.Grid().innerHeight, 340);
    ASSERT_TRUE(panel.Thumb().visible);
    EXPECT_EQ(panel.Thumb().height, 340 * 340 / (40 * 46));
    for (int step = 0; step < 50; ++step)
        SendMessageW(this->panel->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(panel.Grid().scrollRow, 33) << "scrolling stops once the last row is fully shown";
    EXPECT_EQ(panel.Thumb().top, 340 - panel.Thumb().height);
    SendMessageW(this->panel->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(panel.Grid().scrollRow, 32);

    // Dragging the thumb to the top scrolls back to the first row.
    HWND thumb = FindWindowExW(items, nullptr, L"MivraScrollThumb", nullptr);
    ASSERT_TRUE(thumb && IsWindowVisible(thumb));
    RECT place{};
    GetWindowRect(thumb, &place);
    MapWindowPoints(nullptr, items, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, panel.Grid().innerWidth - 12);
    EXPECT_EQ(place.top, panel.Thumb().top);
    const int grab = panel.Thumb().height / 2;
    SendMessageW(thumb, WM_LBUTTONDOWN, MK_LBUTTON, At(6, grab));
    SendMessageW(thumb, WM_MOUSEMOVE, MK_LBUTTON, At(6, grab - 400));
    SendMessageW(thumb, WM_LBUTTONUP, 0, At(6, grab - 400));
    EXPECT_EQ(panel.Thumb().top, 0);
    EXPECT_EQ(panel.Grid().scrollRow, 0);
    EXPECT_TRUE(host.started.empty()) << "the thumb is no item";
}

// The text of the tip the shared tooltip window holds for `window`.
std::wstring TipOf(HWND window) {
    HWND tooltip = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM found) {
        wchar_t name[64] = {};
        GetClassNameW(w, name, 64);
        if (std::wstring_view(name) == TOOLTIPS_CLASSW) *reinterpret_cast<HWND*>(found) = w;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&tooltip));
    if (!tooltip) return L"<no tooltip window>";
    wchar_t text[512] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window;
    tool.lpszText = text;
    if (!SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0)) return L"";
    SendMessageW(tooltip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
    return text;
}

TEST_F(PanelTest, HoverShowsTheItemInTheTipAndTheTitle) {
    Group group = MakeGroup(L"A", 2);
    group.Items()[0] = {L"A", L"%rp%\\a.exe", L"", L"-x", L"3"};
    group.Items()[1] = {L"", L"", L"", L"", L"0"};
    Start({group}, "[Config]\r\nItemHoverTips=1\r\n");
    const std::wstring title = panel->Caption();
    POINT p = CellCentre(1);
    SendMessageW(items, WM_MOUSEMOVE, 0, At(p.x, p.y));
    EXPECT_EQ(TipOf(items), L"A\r\n%rp%\\a.exe -x\r\n启动次数 3");
    EXPECT_EQ(panel->Caption(), L"A");
    p = CellCentre(2);
    SendMessageW(items, WM_MOUSEMOVE, 0, At(p.x, p.y));
    EXPECT_EQ(TipOf(items), L"空项目");
    SendMessageW(items, WM_MOUSEMOVE, 0, At(300, 300));
    EXPECT_EQ(TipOf(items), L"");
    EXPECT_EQ(panel->Caption(), title) << "leaving the items brings the title back";
}

TEST_F(PanelTest, DoubleClickOptions) {
    Start({MakeGroup(L"A", 2)}, "[Config]\r\nDoubleClick=1\r\nDoubleClickHide=1\r\nLockPosition=1\r\n");
    Click(1);
    EXPECT_TRUE(host.started.empty()) << "a single click starts nothing";
    const POINT p = CellCentre(1);
    SendMessageW(items, WM_LBUTTONDBLCLK, MK_LBUTTON, At(p.x, p.y));
    EXPECT_EQ(host.started, std::vector<std::wstring>{L"item 1"});

    SendMessageW(items, WM_LBUTTONDOWN, MK_LBUTTON, At(300, 300));
    SendMessageW(items, WM_LBUTTONUP, 0, At(300, 300));
    SendMessageW(items, WM_LBUTTONDBLCLK, MK_LBUTTON, At(300, 300));
    EXPECT_FALSE(IsWindowVisible(panel->hwnd())) << "a double click on empty space hides the panel";
}

TEST_F(PanelTest, TabsAreDraggedDoubleClickedAndHoverSelected) {
    Start({MakeGroup(L"A", 1), MakeGroup(L"B", 1), MakeGroup(L"C", 1)},
          "[Config]\r\nLockPosition=1\r\nTabHoverActivate=1\r\nHoverDelay=30\r\n");
    // Cells of 70 pixels with 1-pixel gaps in a 354-pixel bar.
    const auto tab = [](int position) { return At(71 * (position - 1) + 35, 15); };
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, tab(3));
    EXPECT_EQ(panel->CurrentTab(), 3) << "a press selects";
    SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, tab(1));
    SendMessageW(bar, WM_LBUTTONUP, 0, tab(1));
    EXPECT_EQ(host.groups[0].title, L"C");
    EXPECT_EQ(host.groups[1].title, L"A");
    EXPECT_EQ(panel->CurrentTab(), 1) << "the moved tab stays selected";
    EXPECT_EQ(host.saves, 1);

    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(300, 15));
    SendMessageW(bar, WM_LBUTTONUP, 0, At(300, 15));
    SendMessageW(bar, WM_LBUTTONDBLCLK, MK_LBUTTON, At(300, 15));
    ASSERT_EQ(host.groups.size(), 4u) << "a double click on empty bar adds a group";
    EXPECT_EQ(host.groups[3].title, L"4分组");

    SendMessageW(bar, WM_MOUSEMOVE, 0, tab(2));
    EXPECT_EQ(panel->CurrentTab(), 1);
    WaitUntil([&] { Pump(); return panel->CurrentTab() == 2; }, std::chrono::milliseconds(2000));
    EXPECT_EQ(panel->CurrentTab(), 2) << "resting on a tab selects it after the delay";
}

// The panel at the left edge of the screen, with AutoHide on (the default):
// the pointer going away parks it beyond the edge, touching the edge brings
// it back; the hotkey and losing the focus do as the pointer would.
TEST_F(PanelTest, ADockedPanelParksBeyondTheEdgeAndComesBackWhenThePointerTouchesIt) {
    Start({MakeGroup(L"A", 1)});
    const auto left = [&] {
        RECT r{};
        GetWindowRect(panel->hwnd(), &r);
        return static_cast<int>(r.left);
    };
    const int width = 354;
    SetWindowPos(panel->hwnd(), nullptr, 0, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetCursorPos(700, 300);
    ASSERT_TRUE(PumpUntil([&] { return left() == -width; })) << "parked when the pointer is away: " << left();
    EXPECT_TRUE(panel->Parked().left);
    EXPECT_TRUE(IsWindowVisible(panel->hwnd())) << "a parked panel stays visible, off the screen";

    SetCursorPos(2, 300);
    ASSERT_TRUE(PumpUntil([&] { return left() == 0; })) << "back when the pointer touches the edge: " << left();
    SetCursorPos(10, 300);
    Pump();
    EXPECT_EQ(left(), 0) << "between 5 and 15 pixels away nothing happens";
    SetCursorPos(700, 300);
    ASSERT_TRUE(PumpUntil([&] { return left() == -width; })) << "and away again";

    panel->ToggleByHotKey();
    ASSERT_TRUE(PumpUntil([&] { return left() == 0; })) << "the hotkey shows a parked panel";
    Pump();
    EXPECT_EQ(left(), 0) << "shown by the hotkey, it is not parked by the pointer being away";
    SendMessageW(panel->hwnd(), WM_ACTIVATE, WA_INACTIVE, 0);
    ASSERT_TRUE(PumpUntil([&] { return left() == -width; })) << "losing the focus parks it";
    SendMessageW(panel->hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
    EXPECT_EQ(host.displayChanges, 1) << "the application hears of it";
    panel->DisplayChanged();  // what the application then asks of the panel
    EXPECT_EQ(left(), -width) << "still parked at its edge after a display change";

    SetWindowPos(panel->hwnd(), nullptr, 400, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    panel->ToggleByHotKey();
    EXPECT_FALSE(IsWindowVisible(panel->hwnd())) << "the hotkey hides a panel in the middle of the screen";
}

// Summoned, the panel paints itself and its parts as one picture: the same
// picture its parts paint when each is asked to paint itself.
TEST_F(PanelTest, SummonedThePanelAppearsAsItsPartsPaintThemselves) {
    Start({MakeGroup(L"A", 60), MakeGroup(L"B", 1)});
    HWND thumb = FindWindowExW(items, nullptr, L"MivraScrollThumb", nullptr);
    ASSERT_TRUE(thumb && IsWindowVisible(thumb)) << "more items than the panel shows: the scroll thumb is there";
    panel->ToggleByHotKey();
    ASSERT_FALSE(IsWindowVisible(panel->hwnd()));
    panel->ToggleByHotKey();
    ASSERT_TRUE(PumpUntil([&] { return panel->GroupPainted(true); }));
    EXPECT_FALSE(GetUpdateRect(thumb, nullptr, FALSE));
    const std::vector<COLORREF> barShown = PixelsOf(bar), itemsShown = PixelsOf(items), thumbShown = PixelsOf(thumb);
    RedrawWindow(panel->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(barShown, PixelsOf(bar)) << "the group bar";
    EXPECT_EQ(itemsShown, PixelsOf(items)) << "the item panel";
    EXPECT_EQ(thumbShown, PixelsOf(thumb)) << "the scroll thumb";
}

// Keys posted to the focused child reach the panel first, as through the program's message loop.
TEST_F(PanelTest, ThePanelSeesKeysFirstButTheRenameBoxKeepsEscapeAndTab) {
    Start({MakeGroup(L"A", 1), MakeGroup(L"B", 1), MakeGroup(L"C", 1)});
    const auto deliver = [&](HWND to, UINT message, WPARAM key, BYTE modifier = 0) {
        BYTE state[256]{};
        if (modifier) state[modifier] = 0x80;
        SetKeyboardState(state);
        PostMessageW(to, message, key, 0);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!panel->PreviewMessage(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        const BYTE released[256]{};
        SetKeyboardState(const_cast<BYTE*>(released));
    };
    deliver(items, WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(panel->CurrentTab(), 2) << "Tab at the item panel switches groups";
    deliver(items, WM_KEYDOWN, VK_TAB, VK_CONTROL);
    EXPECT_EQ(panel->CurrentTab(), 1) << "Ctrl+Tab goes back";
    deliver(items, WM_SYSKEYDOWN, 'E', VK_MENU);
    ASSERT_TRUE(panel->PanelTools().Window()) << "Alt+E opens the memo";
    EXPECT_EQ(panel->PanelTools().Window()->Mode(), ToolMode::Memo);
    panel->PanelTools().CloseQuietly();

    panel->RenameGroup();
    HWND box = FindWindowExW(bar, nullptr, L"EDIT", nullptr);
    ASSERT_TRUE(box && IsWindowVisible(box));
    SetWindowTextW(box, L"typed");
    deliver(box, WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(panel->CurrentTab(), 1) << "no group switch while renaming";
    EXPECT_TRUE(IsWindowVisible(box));
    deliver(box, WM_KEYDOWN, VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(box)) << "Escape closes the rename box";
    EXPECT_EQ(host.groups[0].title, L"A") << "and the title stays";
    EXPECT_TRUE(IsWindowVisible(panel->hwnd())) << "the panel is not hidden";
    EXPECT_EQ(host.saves, 0);

    deliver(items, WM_KEYDOWN, VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(panel->hwnd())) << "Escape elsewhere hides the panel";
}

// The main menu's commands on the group shown: new items, sorting, converting.
TEST_F(PanelTest, MainMenuAddsSortsAndConvertsTheGroupShown) {
    Start({Group{L"A", {{L"b", L"C:\\Mivra\\tools\\b.exe", L"", L"", L"0"}, {L"a", L"D:\\a.exe", L"", L"", L"0"}}},
           Group{L"B", {}}});
    const int saves = host.saves;
    const auto entry = [](MainCommand first, unsigned index) {
        return static_cast<MainCommand>(static_cast<unsigned>(first) + index);
    };
    panel->RunMainCommand(MainCommand::EmptyItem);
    panel->RunMainCommand(entry(MainCommand::SystemFunction, 2));
    panel->RunMainCommand(entry(MainCommand::SystemTool, 3));
    const auto& items = host.groups[0].Items();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[2], (ItemRecord{L"", L"", L"", L"", L"0"}));
    EXPECT_EQ(items[3], (ItemRecord{L"回收站", L"%rp%\\Mivra.exe", L"%rp%\\Mivra.exe", L"bitbucket", L"0"}));
    EXPECT_EQ(items[4].title, L"组策略\u3000");
    EXPECT_EQ(host.saves, saves + 3) << "each addition saved";
    EXPECT_TRUE(host.groups[1].Items().empty()) << "only the group shown";

    panel->RunMainCommand(MainCommand::SortByTitle);
    EXPECT_EQ(items[0].title, L"");
    EXPECT_EQ(items[1].title, L"a");
    ASSERT_FALSE(host.notifier.balloons.empty());
    EXPECT_EQ(host.notifier.balloons.back(), kSortedBalloon);

    panel->RunMainCommand(MainCommand::ToPortable);
    EXPECT_EQ(items[2].path.rfind(L"%r", 0), 0u) << "a path on the program's drive made portable: " << items[2].path;
    EXPECT_EQ(items[1].path, L"D:\\a.exe") << "another drive stays";
    EXPECT_EQ(host.notifier.balloons.back(), kConvertedBalloon);
    panel->RunMainCommand(MainCommand::ToAbsolute);
    EXPECT_EQ(items[2].path, L"C:\\Mivra\\tools\\b.exe");
}

// Command mode and the configuration lock, switched from the main menu.
TEST_F(PanelTest, MainMenuSwitchesCommandModeAndTheConfigurationLock) {
    Start({Group{L"A", {}}});
    panel->RunMainCommand(MainCommand::SwitchMode);
    EXPECT_TRUE(host.config.Flag(Opt::CommandMode));
    EXPECT_FALSE(host.config.Flag(Opt::DisplaySearchSwitch));
    EXPECT_TRUE(panel->SearchVisible()) << "command mode runs in search mode";
    panel->RunMainCommand(MainCommand::SwitchMode);
    EXPECT_FALSE(panel->SearchVisible());
    EXPECT_TRUE(host.config.Flag(Opt::DisplaySearchSwitch));

    panel->RunMainCommand(MainCommand::LockConfig);
    EXPECT_TRUE(host.config.Flag(Opt::LockConfig));
    EXPECT_NE(host.storage.bytes->find("LockConfig=1"), std::string::npos) << "written though the lock now holds";
    EXPECT_EQ(host.notifier.balloons.back(), kConfigLockedBalloon);
    panel->RunMainCommand(MainCommand::SwitchMode);
    EXPECT_EQ(host.storage.bytes->find("CommandMode=1"), std::string::npos) << "nothing else is written while locked";
    panel->RunMainCommand(MainCommand::SwitchMode);
    const size_t balloons = host.notifier.balloons.size();
    panel->RunMainCommand(MainCommand::LockConfig);
    EXPECT_FALSE(host.config.Flag(Opt::LockConfig));
    EXPECT_EQ(host.storage.bytes->find("LockConfig=1"), std::string::npos) << "the unlock is written too";
    EXPECT_EQ(host.notifier.balloons.size(), balloons) << "unlocking tells nothing";

    EXPECT_FALSE(panel->AutoHideLocked());
    panel->RunMainCommand(MainCommand::LockAutoHide);
    EXPECT_TRUE(panel->AutoHideLocked());
}

// The item menu's commands on one item of a group.
TEST_F(PanelTest, ItemMenuMovesDeletesBlanksAndCopies) {
    Start({Group{L"A", {{L"记事本", L"C:\\n.exe", L"C:\\n.exe", L"-x", L"7"}, {L"网页", L"https://example.com/", L"", L"", L"2"},
                        {L"工具", L"%rp%\\tools\\t.exe", L"", L"", L"1"}}},
           Group{L"B", {{L"b", L"C:\\b.exe", L"", L"", L"0"}}}});
    auto& a = host.groups[0].Items();
    auto& b = host.groups[1].Items();
    const int saves = host.saves;
    const auto moveTo = [](unsigned group) { return static_cast<ItemCommand>(static_cast<unsigned>(ItemCommand::MoveTo) + group - 1); };

    panel->RunItemCommand(moveTo(1), 1, 1);
    EXPECT_EQ(a.size(), 3u) << "not to its own group";
    panel->RunItemCommand(moveTo(2), 1, 1);
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(b[1], (ItemRecord{L"记事本", L"C:\\n.exe", L"C:\\n.exe", L"-x", L"7"})) << "appended with its count";
    EXPECT_EQ(a.front().title, L"网页");
    EXPECT_EQ(host.saves, saves + 1) << "saved once";

    panel->RunItemCommand(ItemCommand::CopyPath, 1, 2);
    EXPECT_EQ(host.shell.copied, std::vector<std::wstring>{L"C:\\Mivra\\tools\\t.exe"}) << "the resolved path";
    panel->RunItemCommand(ItemCommand::OpenFolder, 1, 2);
    EXPECT_EQ(host.shell.opened, std::vector<std::wstring>{L"C:\\Mivra\\tools\\t.exe"});
    panel->RunItemCommand(ItemCommand::ExplorerMenu, 1, 2);
    ASSERT_EQ(host.shell.explorerMenus.size(), 1u);
    EXPECT_EQ(host.shell.explorerMenus[0].first, L"C:\\Mivra\\tools\\t.exe") << "Explorer's menu of the resolved target";
    panel->RunItemCommand(ItemCommand::RunAsAdministrator, 1, 2);
    panel->RunItemCommand(ItemCommand::RunMinimized, 1, 2);
    EXPECT_EQ(host.startedAs, (std::vector<std::wstring>{L"runas 1", L"open 6"}));

    panel->RunItemCommand(ItemCommand::ReplaceWithBlank, 1, 1);
    EXPECT_EQ(a[0], (ItemRecord{L"", L"", L"", L"", L"2"})) << "the cell stays with its count";
    panel->RunItemCommand(ItemCommand::Delete, 1, 1);
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].title, L"工具");

    host.answer = IDCANCEL;
    panel->RunItemCommand(ItemCommand::DeleteAll, 2, 1);
    EXPECT_EQ(b.size(), 2u) << "cancelled: nothing changes";
    EXPECT_EQ(host.messages.back(), kDeleteAllQuestion);
    host.answer = IDOK;
    panel->RunItemCommand(ItemCommand::DeleteAll, 2, 1);
    EXPECT_TRUE(b.empty());
}

// The desktop shortcut takes a free, valid name on the Desktop and says when it fails.
TEST_F(PanelTest, ADesktopShortcutNeverOverwritesAndTellsAFailure) {
    Start({Group{L"A", {{L"Tom && Jerry", L"C:\\t.exe", L"C:\\t.ico", L"-a", L"0"}, {L"..\\..\\evil", L"C:\\e.exe", L"", L"", L"0"}}}});
    host.shell.files = {L"C:\\Desktop\\Tom & Jerry.lnk"};
    panel->RunItemCommand(ItemCommand::CreateLink, 1, 1);
    panel->RunItemCommand(ItemCommand::CreateLink, 1, 2);
    ASSERT_EQ(host.shell.shortcuts.size(), 2u);
    EXPECT_EQ(host.shell.shortcuts[0].file, L"C:\\Desktop\\Tom & Jerry (2).lnk");
    EXPECT_EQ(host.shell.shortcuts[0].target, L"C:\\t.exe");
    EXPECT_EQ(host.shell.shortcuts[0].arguments, L"-a");
    EXPECT_EQ(host.shell.shortcuts[0].icon, L"C:\\t.ico");
    EXPECT_EQ(host.shell.shortcuts[1].file, L"C:\\Desktop\\evil.lnk") << "never outside the Desktop";
    EXPECT_TRUE(host.notifier.balloons.empty());

    host.shell.saves = false;
    panel->RunItemCommand(ItemCommand::CreateLink, 1, 1);
    ASSERT_EQ(host.notifier.balloons.size(), 1u) << "a failure is told";
}

TEST_F(PanelTest, MovesAreStoredAndTheUpdateBarClosesItsSquare) {
    Start({MakeGroup(L"A", 1)});
    const int writes = host.storage.writes;
    SetWindowPos(panel->hwnd(), nullptr, 120, 140, 360, 410, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(panel->hwnd(), nullptr, 130, 140, 360, 410, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(panel->hwnd(), nullptr, 120, 140, 360, 410, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(host.storage.writes, writes) << "moves the program makes are gathered first";
    EXPECT_TRUE(PumpUntil([&] { return host.config.GetConfigStr(Opt::Size, L"") == L"1800,2100,5400,6150"; }))
        << "twips at 96 dots per inch";
    EXPECT_EQ(host.storage.writes, writes + 1);

    // A move or size gesture of the user is stored once, when it ends.
    SendMessageW(panel->hwnd(), WM_ENTERSIZEMOVE, 0, 0);
    for (int x = 0; x < 50; ++x) SetWindowPos(panel->hwnd(), nullptr, x, 20, 360, 410, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(host.storage.writes, writes + 1);
    SendMessageW(panel->hwnd(), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(host.storage.writes, writes + 2);
    EXPECT_EQ(host.config.GetConfigStr(Opt::Size, L""), L"735,300,5400,6150");

    RECT before{};
    GetWindowRect(items, &before);
    panel->ShowUpdateBar(L"发现新版本");
    RECT during{};
    GetWindowRect(items, &during);
    EXPECT_EQ(during.top - before.top, 28) << "the content moves under the update bar";
    // The close square: the bar's right end, 28 pixels square, under the title.
    SendMessageW(panel->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(360 - 14, 30 + 14));
    SendMessageW(panel->hwnd(), WM_LBUTTONUP, 0, At(360 - 14, 30 + 14));
    EXPECT_FALSE(panel->UpdateMode());
    EXPECT_TRUE(panel->UpdateNoticesDisabled());
    RECT after{};
    GetWindowRect(items, &after);
    EXPECT_EQ(after.top, before.top);
}

// The file beside a panel that is moved about: a large data section, and
// another program that opens the file again after every change. Every
// sample it takes is a whole file with every group; the panel writes the
// file a bounded number of times and its thread never sleeps for the file.
TEST(PanelBoundsInAFile, MovesNeitherWaitForTheFileNorRewriteItEachTime) {
    ScratchDir scratch;
    const std::filesystem::path file = scratch / L"Mivra.cfg";
    std::vector<Group> groups;
    for (int g = 0; g < 150; ++g) {
        Group group{L"分组" + std::to_wstring(g), {}};
        for (int i = 0; i < 100; ++i)
            group.Items().push_back({L"项目 " + std::to_wstring(i), L"C:\\Program Files\\" + std::wstring(180, L'x') +
                                         L"\\app" + std::to_wstring(i) + L".exe", L"", L"--flag", L"3"});
        groups.push_back(std::move(group));
    }
    std::string bytes = "[Config]\r\n[Data]\r\n";
    for (const std::string& line : DataSectionLines(win::SystemCodePage(), groups)) bytes += line + "\r\n";
    ASSERT_GT(bytes.size(), 5u << 20);
    WriteBytes(file, bytes);

    struct CountingStorage final : ConfigStorage {
        explicit CountingStorage(std::wstring path) : file(std::move(path)) {}
        win::FileConfigStorage file;
        int writes = 0;
        StoredFile Read(Patience patience) override { return file.Read(patience); }
        std::uint64_t Stamp() override { return file.Stamp(); }
        bool Write(std::string_view b, Patience patience) override {
            ++writes;
            return file.Write(b, patience);
        }
    } storage(file.wstring());
    FakeHost host(&storage);
    host.config.LoadOptions();
    win::PanelLook look = win::PanelLook::BuiltIn();
    MainPanel panel(GetModuleHandleW(nullptr), host, look);
    ASSERT_TRUE(panel.Create(Box{100, 100, 354, 400}));
    ShowWindow(panel.hwnd(), SW_SHOWNA);
    panel.StartPing();
    ASSERT_TRUE(PumpUntil([&] { return panel.Loaded(); }));

    // Another program reads the file over and over, holding it while it reads.
    std::atomic<bool> stop{false};
    std::atomic<int> samples{0}, broken{0};
    std::thread reader([&] {
        while (!stop) {
            win::UniqueFile held(
                CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
            if (!held) continue;
            std::string sample(static_cast<size_t>(GetFileSize(held.get(), nullptr)), '\0');
            DWORD read = 0;
            ReadFile(held.get(), sample.data(), static_cast<DWORD>(sample.size()), &read, nullptr);
            held.reset();
            const LoadedData loaded = LoadData(win::SystemCodePage(), sample);
            broken += sample.find("[Config]") == std::string::npos || loaded.groups.size() != 150 ||
                      !loaded.errors.empty();
            ++samples;
        }
    });
    const unsigned sleepsBefore = win::FileRetrySleeps();
    SendMessageW(panel.hwnd(), WM_ENTERSIZEMOVE, 0, 0);
    for (int i = 0; i < 100; ++i) SetWindowPos(panel.hwnd(), nullptr, 100 + i, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageW(panel.hwnd(), WM_EXITSIZEMOVE, 0, 0);
    for (int i = 0; i < 100; ++i) SetWindowPos(panel.hwnd(), nullptr, 200, 100 + i, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const bool stored = PumpUntil([&] { return host.config.GetConfigStr(Opt::Size, L"") == L"3000,2985,5310,6000"; });
    stop = true;
    reader.join();
    panel.Close();

    EXPECT_TRUE(stored) << host.config.GetConfigStr(Opt::Size, L"");
    EXPECT_EQ(win::FileRetrySleeps(), sleepsBefore) << "the panel's thread slept for the file";
    EXPECT_LE(storage.writes, 2 + 2 * 10) << "once for the gesture, once for the program's moves, and retries";
    EXPECT_GT(samples, 0);
    EXPECT_EQ(broken, 0) << "a sample was not a whole file with every group";
}

// Search mode: typing starts it, the results come from every group, and a
// started result is the item of its own group.
class SearchTest : public PanelTest {
protected:
    void Start(std::string config) {
        PanelTest::Start({Group{L"A", {{L"QQ音乐", L"C:\\q.exe", L"", L"", L"2"}, {L"Notepad", L"C:\\n.exe", L"", L"", L"5"}}},
                          Group{L"B", {{L"音乐", L"C:\\m.exe", L"", L"", L"7"}, {L"Word", L"C:\\w.exe", L"", L"", L"0"}}}},
                         std::move(config));
    }
    win::SearchBox& Box() { return *panel->Search(); }
    HWND SearchWindow() { return FindWindowExW(panel->hwnd(), nullptr, L"MivraSearchBox", nullptr); }
    std::vector<std::wstring> Titles() {
        std::vector<std::wstring> titles;
        for (const auto& item : Box().List().items) titles.push_back(item.title);
        return titles;
    }
    void Key(UINT message, WPARAM code) { SendMessageW(Box().QueryWindow(), message, code, 0); }
};

TEST_F(SearchTest, ATypedLetterSearchesEveryGroupAndAResultStartsInItsOwnGroup) {
    Start("[Config]\r\nSortByCount=1\r\nExecuteHide=1\r\n");
    SendMessageW(panel->hwnd(), WM_CHAR, L'!', 0);
    EXPECT_FALSE(panel->SearchVisible()) << "only letters, digits, <, > and : start a search";
    SendMessageW(panel->hwnd(), WM_CHAR, L'y', 0);
    ASSERT_TRUE(panel->SearchVisible());
    EXPECT_EQ(Box().Text(), L"y");
    EXPECT_TRUE(IsWindowVisible(SearchWindow()));
    EXPECT_FALSE(IsWindowVisible(items));
    EXPECT_FALSE(IsWindowVisible(bar));
    // By count: 音乐 (7) before QQ音乐 (2); the first is selected.
    EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"音乐 [B]", L"QQ音乐 [A]"}));
    EXPECT_EQ(Box().Results().HotItm(), 1);

    Key(WM_KEYDOWN, VK_DOWN);
    Key(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(Box().Results().HotItm(), 2) << "the selection stops at the last result";
    Key(WM_CHAR, L'\r');
    ASSERT_EQ(host.started, std::vector<std::wstring>{L"QQ音乐"});
    // Group A counted the start and sorted itself by count; one save.
    EXPECT_EQ(host.groups[0].Items()[0].title, L"Notepad");
    EXPECT_EQ(host.groups[0].Items()[1].count, L"3");
    EXPECT_EQ(host.saves, 1);
    // Afterwards search mode is left and, with ExecuteHide, the panel hides.
    EXPECT_FALSE(panel->SearchVisible());
    EXPECT_EQ(Box().Text(), L"");
    EXPECT_FALSE(IsWindowVisible(panel->hwnd()));
    EXPECT_FALSE(IsWindowVisible(SearchWindow()));

    // The next search finds QQ音乐 where the sort put it (second in group A).
    ShowWindow(panel->hwnd(), SW_SHOWNA);
    SendMessageW(panel->hwnd(), WM_CHAR, L'y', 0);
    EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"音乐 [B]", L"QQ音乐 [A]"}));
    EXPECT_EQ(Box().List().origins[1], (ItemOrigin{1, 2}));
}

TEST_F(SearchTest, CommandModeKeepsSearchingAndClearsTheQueryAfterAStart) {
    Start("[Config]\r\nCommandMode=1\r\nExecuteHide2=1\r\n");
    ASSERT_TRUE(panel->SearchVisible()) << "command mode starts in search mode";
    SendMessageW(panel->hwnd(), WM_CHAR, L'x', 0);
    EXPECT_TRUE(panel->SearchVisible()) << "typing never switches command mode off";
    Box().SetText(L"<calc -x");
    ASSERT_FALSE(Box().List().items.empty());
    const ItemRecord& command = Box().List().items[0];
    EXPECT_EQ(command.title, L"运行 calc -x");
    EXPECT_EQ(command.path, L"calc");
    EXPECT_EQ(command.argument, L"-x");
    Key(WM_CHAR, L'\r');
    EXPECT_EQ(host.started, std::vector<std::wstring>{L"运行 calc -x"});
    EXPECT_TRUE(panel->SearchVisible());
    EXPECT_EQ(Box().Text(), L"");
    EXPECT_TRUE(Box().List().items.empty());
    EXPECT_FALSE(IsWindowVisible(panel->hwnd())) << "ExecuteHide2 hides the panel after a result";

    // A typed shortcut is read once, not again for every character of its arguments.
    host.addedPaths.clear();
    for (const wchar_t* typed : {L"<D:\\web.url", L"<D:\\web.url -", L"<D:\\web.url -x", L"<D:\\web.url -xy"})
        Box().SetText(typed);
    EXPECT_EQ(host.addedPaths, std::vector<std::wstring>{L"D:\\web.url"});
    Box().SetText(L"");

    // Escape in command mode clears the query and hides, search mode stays.
    ShowWindow(panel->hwnd(), SW_SHOWNA);
    Box().SetText(L"wo");
    EXPECT_EQ(Titles(), std::vector<std::wstring>{L"Word [B]"});
    Key(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(Box().Text(), L"");
    EXPECT_TRUE(panel->SearchVisible());
    EXPECT_FALSE(IsWindowVisible(panel->hwnd()));
}

TEST_F(SearchTest, EscapeAndTheSwitchLeaveSearchModeAndTabSwitchesGroups) {
    Start("[Config]\r\n");
    SendMessageW(panel->hwnd(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(panel->CurrentTab(), 2);
    SendMessageW(panel->hwnd(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(panel->CurrentTab(), 1) << "Tab goes round";

    panel->SwitchSearch();
    Box().SetText(L"yl");
    EXPECT_EQ(Titles().size(), 2u);
    SendMessageW(panel->hwnd(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(panel->CurrentTab(), 1) << "no group is selected in search mode";
    Key(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_FALSE(panel->SearchVisible());
    EXPECT_TRUE(IsWindowVisible(panel->hwnd()));
    EXPECT_TRUE(IsWindowVisible(items));
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_TRUE(Box().List().items.empty());
    EXPECT_TRUE(host.started.empty());

    // The title bar's search switch (left of the three buttons) toggles it.
    RECT client{};
    GetClientRect(panel->hwnd(), &client);
    const int x = client.right - 4 * look.ButtonWidth() + look.ButtonWidth() / 2;
    const int y = look.ButtonHeight() / 2;
    SendMessageW(panel->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    SendMessageW(panel->hwnd(), WM_LBUTTONUP, 0, At(x, y));
    EXPECT_TRUE(panel->SearchVisible());
}

}  // namespace
}  // namespace mivra::test
