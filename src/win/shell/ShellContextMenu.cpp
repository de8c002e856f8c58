#include "shell/ShellContextMenu.h"

#include <commctrl.h>

namespace mivra::win {
namespace {

constexpr UINT kFirstCommand = 1, kLastCommand = 0x7FFF;
constexpr UINT_PTR kForwardSubclass = 0x5348;  // one subclass at a time: tracking is modal

// The menu while it is tracked, with the interfaces that draw and fill its
// owner-drawn submenus (the older one, or the one that also answers WM_MENUCHAR).
struct TrackedMenu {
    ComPtr<IContextMenu2> menu2;
    ComPtr<IContextMenu3> menu3;
};

bool IsMenuMessage(UINT message, LPARAM lParam) {
    switch (message) {
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
        return true;
    case WM_DRAWITEM: return reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->CtlType == ODT_MENU;
    case WM_MEASUREITEM: return reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->CtlType == ODT_MENU;
    default: return false;
    }
}

// The owner's messages go to the tracked menu first.
LRESULT CALLBACK ForwardToMenu(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    const auto& tracked = *reinterpret_cast<const TrackedMenu*>(data);
    if (IsMenuMessage(message, lParam)) {
        LRESULT result = 0;
        if (tracked.menu3 && SUCCEEDED(tracked.menu3->HandleMenuMsg2(message, wParam, lParam, &result))) return result;
        if (tracked.menu2 && message != WM_MENUCHAR && SUCCEEDED(tracked.menu2->HandleMenuMsg(message, wParam, lParam)))
            return message == WM_INITMENUPOPUP ? 0 : TRUE;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

UniqueIdList PathToIdList(HWND owner, const std::wstring& path) {
    UniqueIdList list;
    ComPtr<IShellFolder> desktop;
    if (path.empty() || FAILED(SHGetDesktopFolder(desktop.put()))) return list;
    std::wstring name = path;  // the shell wants a writable string
    PIDLIST_RELATIVE parsed = nullptr;
    if (SUCCEEDED(desktop->ParseDisplayName(owner, nullptr, name.data(), nullptr, &parsed, nullptr)))
        list.reset(reinterpret_cast<PIDLIST_ABSOLUTE>(parsed));
    return list;
}

ComPtr<IShellFolder> ParentFolderOf(PCIDLIST_ABSOLUTE list) {
    ComPtr<IShellFolder> parent;
    if (!list || ILIsEmpty(list)) return parent;
    if (FAILED(SHBindToParent(list, IID_IShellFolder, reinterpret_cast<void**>(parent.put()), nullptr)))
        parent.reset();
    return parent;
}

bool ShowShellMenu(HWND owner, IShellFolder& folder, PCUITEMID_CHILD child, POINT at) {
    ComPtr<IContextMenu> menu;
    if (FAILED(folder.GetUIObjectOf(owner, 1, &child, IID_IContextMenu, nullptr, reinterpret_cast<void**>(menu.put()))))
        return false;
    const TrackedMenu tracked{menu.As<IContextMenu2>(), menu.As<IContextMenu3>()};
    UniqueMenu popup(CreatePopupMenu());
    if (!popup || FAILED(menu->QueryContextMenu(popup.get(), 0, kFirstCommand, kLastCommand, CMF_EXPLORE)))
        return false;

    SetWindowSubclass(owner, &ForwardToMenu, kForwardSubclass, reinterpret_cast<DWORD_PTR>(&tracked));
    SetForegroundWindow(owner);
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenuEx(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, owner, nullptr));
    RemoveWindowSubclass(owner, &ForwardToMenu, kForwardSubclass);
    if (chosen < kFirstCommand) return false;

    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof invoke;
    invoke.hwnd = owner;
    invoke.lpVerb = MAKEINTRESOURCEA(chosen - kFirstCommand);
    invoke.nShow = SW_SHOWNORMAL;
    menu->InvokeCommand(&invoke);
    return true;
}

bool ShowShellMenuFor(HWND owner, const std::wstring& path, POINT at) {
    if (!EnsureOleOnThisThread()) return false;
    const UniqueIdList list = PathToIdList(owner, path);
    ComPtr<IShellFolder> parent = ParentFolderOf(list.get());
    if (!parent) return false;
    return ShowShellMenu(owner, *parent.get(), ILFindLastID(list.get()), at);
}

}  // namespace mivra::win
