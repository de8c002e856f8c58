// The item menu and the item editor, in this process, each against the same
// step of a minimal program in the same run:
//   item menu    from a right-button release on the first cell of a group to
//                the menu on the screen, painted and waiting for the user
//                (the moment the menu's loop tells its owner WM_ENTERIDLE);
//                the baseline is a plain window whose WM_RBUTTONUP makes a
//                popup menu of the same entries with AppendMenu and tracks it
//                with TrackPopupMenu.
//   large group  the same item menu for a group of 10,000 items among 100
//                groups, against a small group (5 items, 3 groups).
//   editor       from the item menu's edit command to the editor painted (it
//                and its boxes have nothing left to paint, the item's title
//                in its box, its icon in the preview); the baseline is an
//                empty dialog (from a template) of the same size made, shown
//                and painted. The editor is made at its first opening (a
//                warm-up round) and kept: the rounds timed open it again,
//                for two items of different titles and programs in turn.
// A menu counts only when it is visible, painted and holds the entries
// expected; an editor only when it holds the item and shows its icon.
//   menu_bench [rounds]

#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "FakePanelHost.h"
#include "GroupMakers.h"
#include "MessagePump.h"
#include "base/System.h"
#include "editor/ItemEditor.h"
#include "items/SystemIcons.h"
#include "main/MainPanel.h"
#include "main/PanelLook.h"
#include "menus/ItemMenuModel.h"

namespace {

using namespace mivra;
using bench::Median;
using bench::NowMilliseconds;
using test::HandleWaitingMessages;

constexpr POINT kFirstCell = {63, 23};  // the first cell's centre in the default view

// What the owner's WM_ENTERIDLE saw: the time and whether the menu was whole.
struct MenuSeen {
    double at = 0;
    int items = -1;
    bool painted = false;
};
MenuSeen seen;

LRESULT CALLBACK WatchIdle(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_ENTERIDLE && wParam == MSGF_MENU && seen.items < 0) {
        seen.at = NowMilliseconds();
        HWND menu = reinterpret_cast<HWND>(lParam);
        seen.painted = menu && IsWindowVisible(menu) && !GetUpdateRect(menu, nullptr, FALSE);
        seen.items = GetMenuItemCount(reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0)));
        EndMenu();
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// The minimal program's menu: the same entries, appended as they come.
std::vector<MenuEntry> baselineEntries;

HMENU BareMenu() {
    std::vector<std::pair<HMENU, const std::wstring*>> levels{{CreatePopupMenu(), nullptr}};
    for (const MenuEntry& entry : baselineEntries) {
        switch (entry.kind) {
        case MenuEntry::Kind::Command:
            AppendMenuW(levels.back().first, MF_STRING | (entry.greyed ? MF_GRAYED : 0u), entry.id, entry.caption.c_str());
            break;
        case MenuEntry::Kind::Separator: AppendMenuW(levels.back().first, MF_SEPARATOR, 0, nullptr); break;
        case MenuEntry::Kind::Submenu: levels.push_back({CreatePopupMenu(), &entry.caption}); break;
        case MenuEntry::Kind::EndSubmenu: {
            const auto inner = levels.back();
            levels.pop_back();
            AppendMenuW(levels.back().first, MF_POPUP, reinterpret_cast<UINT_PTR>(inner.first), inner.second->c_str());
            break;
        }
        }
    }
    return levels.front().first;
}

LRESULT CALLBACK BaselineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_RBUTTONUP: {
        HMENU menu = BareMenu();
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(window, &at);
        SetForegroundWindow(window);
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window, nullptr);
        DestroyMenu(menu);
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        EndPaint(window, &ps);
        return 0;
    }
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND MakeBaselineWindow(int width, int height, bool visible) {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{sizeof wc};
        wc.lpfnWndProc = &BaselineProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"MinimalMenuOwner";
        return RegisterClassExW(&wc);
    }();
    (void)atom;
    HWND window = CreateWindowExW(0, L"MinimalMenuOwner", L"minimal", WS_POPUP, 460, 140, width, height, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    if (visible) ShowWindow(window, SW_SHOW);
    return window;
}

INT_PTR CALLBACK EmptyDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The minimal program's dialog: an empty one from a template, as a dialog
// program makes it, sized to `width` x `height` pixels and shown.
HWND MakeEmptyDialog(int width, int height) {
    struct alignas(4) {
        DLGTEMPLATE header;
        WORD menu = 0, windowClass = 0, title = 0;
    } dialog{};
    dialog.header.style = WS_POPUP | DS_MODALFRAME;
    HWND window = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &dialog.header, nullptr, &EmptyDialogProc, 0);
    SetWindowPos(window, nullptr, 460, 140, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOW);
    return window;
}

// One right-button release on `target` at `at`, timed to the menu waiting
// for the user; negative when the menu was not whole.
double TimeMenu(HWND target, HWND owner, POINT at, int expectedItems) {
    seen = {};
    SetWindowSubclass(owner, &WatchIdle, 1, 0);
    SendMessageW(target, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    const double t0 = NowMilliseconds();
    SendMessageW(target, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    RemoveWindowSubclass(owner, &WatchIdle, 1);
    HandleWaitingMessages();
    if (!seen.painted || seen.items != expectedItems) {
        std::fwprintf(stderr, L"menu not whole: painted %d, %d items of %d\n", seen.painted, seen.items, expectedItems);
        return -1;
    }
    return seen.at - t0;
}

int TopLevelCount(const std::vector<MenuEntry>& entries) {
    int depth = 0, count = 0;
    for (const MenuEntry& entry : entries) {
        if (entry.kind == MenuEntry::Kind::EndSubmenu) {
            --depth;
            continue;
        }
        if (depth == 0) ++count;
        if (entry.kind == MenuEntry::Kind::Submenu) ++depth;
    }
    return count;
}

bool WholePainted(HWND window) {
    if (!window || !IsWindowVisible(window) || GetUpdateRect(window, nullptr, FALSE)) return false;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) return false;
    return true;
}

// Handles messages until `window()` is painted; the time it took, or -1.
// The time is taken before each look: nothing paints while this thread
// looks, and looking at a window of many boxes takes longer than at an
// empty one, which is not the window's own time.
template <typename Window>
double UntilPainted(double t0, Window window) {
    const double deadline = t0 + 5000;
    // One message at a time: what follows the paint (the shadow) is not the paint's.
    MSG msg;
    for (double now = NowMilliseconds(); now < deadline; now = NowMilliseconds()) {
        if (WholePainted(window())) return now - t0;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return -1;
}

// Whether the editor's window shows an icon in its preview: pixels there
// that are not the dialog's white.
bool PreviewDrawn(HWND editor) {
    HDC dc = GetDC(editor);
    int coloured = 0;
    for (int y = 24; y < 24 + 48; y += 2)
        for (int x = 264; x < 264 + 48; x += 2)
            if ((GetPixel(dc, x, y) & 0xFFFFFF) != 0xFFFFFF) ++coloured;
    ReleaseDC(editor, dc);
    return coloured > 50;
}

struct Scene {
    test::FakePanelHost host;
    win::PanelLook look = win::PanelLook::BuiltIn();
    win::WindowPtr<win::MainPanel> panel;
    HWND items = nullptr;

    bool Start(std::vector<Group> groups) {
        host.realIcons = true;
        host.storage.bytes = "[Config]\r\n";
        host.config.LoadOptions();
        host.stored = std::move(groups);
        panel = win::MakeWindow<win::MainPanel>(GetModuleHandleW(nullptr), host, look);
        // Wide enough that a hundred tabs leave most of it to the items.
        if (!panel->Create(Box{60, 40, 1000, 700})) return false;
        ShowWindow(panel->hwnd(), SW_SHOW);
        panel->FormResize();
        panel->StartPing();
        test::PumpUntil([&] { return panel->Loaded() && panel->GroupPainted(true); });
        items = FindWindowExW(panel->hwnd(), nullptr, L"MivraItemPanel", nullptr);
        return panel->Loaded() && items;
    }
    std::vector<MenuEntry> MenuOfFirstItem() {
        std::vector<std::wstring> titles;
        for (const Group& g : host.groups) titles.push_back(g.title);
        const ItemMenuState state{host.shell.Resolve(host.groups[0].Items()[0].path), 10, titles, 1};
        return ItemMenuEntries(state);
    }
};

std::wstring SystemFile(const wchar_t* name) {
    wchar_t dir[MAX_PATH] = L"";
    GetSystemDirectoryW(dir, MAX_PATH);
    return std::wstring(dir) + L"\\" + name;
}

// Items of two programs in turn, so that the editor opened for one item and
// then the next has every text to change.
std::vector<Group> Groups(int groups, int items) {
    const std::wstring programs[] = {SystemFile(L"notepad.exe"), SystemFile(L"cmd.exe")};
    const wchar_t* titles[] = {L"记事本 ", L"命令提示符 "};
    std::vector<Group> made;
    for (int g = 0; g < groups; ++g)
        made.push_back(test::MakeGroup(L"分组" + std::to_wstring(g + 1), g == 0 ? items : 5, [&](int i) {
            const std::wstring& program = programs[i % 2];
            return ItemRecord{titles[i % 2] + std::to_wstring(i), program, program, L"", L"0"};
        }));
    return made;
}

void Report(const wchar_t* label, const std::vector<double>& ours, const wchar_t* baseLabel,
            const std::vector<double>& base) {
    const double a = Median(ours), b = Median(base);
    std::wprintf(L"%-34ls %8.3f ms   %-28ls %8.3f ms   ratio %.2f\n", label, a, baseLabel, b, b > 0 ? a / b : 0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(3, _wtoi(argv[1])) : 30;
    constexpr int kWarmUp = 3;

    Scene small, large;
    if (!small.Start(Groups(3, 5)) || !large.Start(Groups(100, 10000))) {
        std::fwprintf(stderr, L"the panels did not start\n");
        return 1;
    }
    ShowWindow(large.panel->hwnd(), SW_HIDE);
    const std::vector<MenuEntry> smallMenu = small.MenuOfFirstItem(), largeMenu = large.MenuOfFirstItem();
    if (large.host.groups[0].Items().size() != 10000 || large.host.groups.size() != 100) return 1;
    HWND baseline = MakeBaselineWindow(1000, 700, true);
    ShowWindow(small.panel->hwnd(), SW_SHOW);

    std::vector<double> ourMenu, bareMenu, largeOpen, smallOpen, editor, emptyDialog;
    for (int round = 0; round < kWarmUp + rounds; ++round) {
        const bool keep = round >= kWarmUp;
        const auto add = [&](std::vector<double>& list, double ms) {
            if (ms < 0) std::exit(2);  // a premise failed: no figure
            if (keep) list.push_back(ms);
        };
        // The small group's menu against the bare one.
        baselineEntries = smallMenu;
        add(bareMenu, TimeMenu(baseline, baseline, kFirstCell, TopLevelCount(smallMenu)));
        add(ourMenu, TimeMenu(small.items, small.panel->hwnd(), kFirstCell, TopLevelCount(smallMenu)));

        // The large group's menu against the small group's, one panel shown at a time.
        ShowWindow(small.panel->hwnd(), SW_HIDE);
        ShowWindow(large.panel->hwnd(), SW_SHOW);
        HandleWaitingMessages();
        add(largeOpen, TimeMenu(large.items, large.panel->hwnd(), kFirstCell, TopLevelCount(largeMenu)));
        ShowWindow(large.panel->hwnd(), SW_HIDE);
        ShowWindow(small.panel->hwnd(), SW_SHOW);
        HandleWaitingMessages();
        add(smallOpen, TimeMenu(small.items, small.panel->hwnd(), kFirstCell, TopLevelCount(smallMenu)));

        // The editor against an empty window of its size, opened for the
        // first and the second item in turn.
        const int item = 1 + round % 2;
        double t0 = NowMilliseconds();
        small.panel->RunItemCommand(ItemCommand::Edit, 1, item);
        const double opened = UntilPainted(t0, [&] { return small.panel->Editor() ? small.panel->Editor()->hwnd() : nullptr; });
        win::ItemEditor* open = small.panel->Editor();
        if (!open || open->Texts().title != small.host.groups[0].Items()[item - 1].title ||
            open->PreviewIcon() == win::SystemIcons::kNoIcon || !PreviewDrawn(open->hwnd())) {
            std::fwprintf(stderr, L"the editor does not show its item\n");
            return 2;
        }
        add(editor, opened);
        open->Cancel();
        HandleWaitingMessages();

        t0 = NowMilliseconds();
        HWND empty = MakeEmptyDialog(win::ItemEditor::kClientWidth, win::ItemEditor::kClientHeight);
        add(emptyDialog, UntilPainted(t0, [&] { return empty; }));
        DestroyWindow(empty);
        HandleWaitingMessages();
    }

    std::wprintf(L"menu_bench: %d rounds (after %d warm-up), medians\n", rounds, kWarmUp);
    Report(L"item menu, release to waiting", ourMenu, L"bare TrackPopupMenu", bareMenu);
    Report(L"item menu, 10,000 items/100 groups", largeOpen, L"small group (5 items/3)", smallOpen);
    Report(L"edit command to editor painted", editor, L"empty dialog of its size", emptyDialog);
    DestroyWindow(baseline);
    return 0;
}
