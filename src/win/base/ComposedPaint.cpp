#include "base/ComposedPaint.h"

#include <algorithm>
#include <vector>

namespace mivra::win {
namespace {

struct Child {
    HWND window;
    RECT place;  // in the top window's client coordinates
    RECT shown;  // the part of it its parents do not cut off
};

// Every window inside `top`, each with its parent, siblings from the top of
// the z-order down: the system lists them in one pass, where walking them one
// by one asks the window system twice for each (half a millisecond for a
// dialog's ten controls under Wine).
struct Descendant {
    HWND window;
    HWND parent;
};

std::vector<Descendant> DescendantsOf(HWND top) {
    std::vector<Descendant> found;
    EnumChildWindows(
        top,
        [](HWND window, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<Descendant>*>(list)->push_back({window, GetAncestor(window, GA_PARENT)});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The visible windows inside `parent`, each before the ones over it: the
// children from the bottom of the z-order up, each followed by its own.
void AddVisibleChildren(HWND top, HWND parent, const RECT& parentShown, const std::vector<Descendant>& all,
                        std::vector<Child>& children) {
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if (it->parent != parent || !IsWindowVisible(it->window)) continue;
        Child c{it->window, {}, {}};
        GetWindowRect(c.window, &c.place);
        MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&c.place), 2);
        if (!IntersectRect(&c.shown, &c.place, &parentShown)) continue;
        children.push_back(c);
        AddVisibleChildren(top, c.window, c.shown, all, children);
    }
}

}  // namespace

bool ComposedPaint::Paint(HWND window, BackBuffer& kept, const PaintOwn& paintOwn) {
    RECT client{};
    GetClientRect(window, &client);
    std::vector<Child> children;
    AddVisibleChildren(window, window, client, DescendantsOf(window), children);
    int childWidth = 1, childHeight = 1;
    for (const Child& c : children) {
        childWidth = std::max<int>(childWidth, c.place.right - c.place.left);
        childHeight = std::max<int>(childHeight, c.place.bottom - c.place.top);
    }
    // The window's DC without the children cut out: their pictures go over them.
    const WindowDc screen(window, DCX_CACHE | DCX_CLIPSIBLINGS);
    if (!screen.get()) return false;
    HDC image = kept.Sized(screen.get(), client.right, client.bottom);
    HDC scratch = children.empty() ? nullptr : child_.Sized(screen.get(), childWidth, childHeight);
    if (!image || (!children.empty() && !scratch)) return false;
    paintOwn(image, client);
    for (const Child& c : children) {
        // Printed at the scratch bitmap's origin: controls clip themselves to
        // their client rectangle in device units, which an offset origin would defeat.
        // Each in a DC as it was: a control may leave its clipping or font behind.
        const int saved = SaveDC(scratch);
        // Its children are printed in their turn.
        SendMessageW(c.window, WM_PRINT, reinterpret_cast<WPARAM>(scratch), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
        RestoreDC(scratch, saved);
        BitBlt(image, c.shown.left, c.shown.top, c.shown.right - c.shown.left, c.shown.bottom - c.shown.top, scratch,
               c.shown.left - c.place.left, c.shown.top - c.place.top, SRCCOPY);
    }
    // Scroll bars are left out of printed pictures on some systems (Wine's):
    // drawn from their kept pictures where the bar is as it was, by their
    // controls after the copy where not.
    std::vector<HWND> drawThemselves;
    for (const Child& c : children)
        if (!bars_.DrawAll(c.window, window, c.shown, image)) drawThemselves.push_back(c.window);
    BitBlt(screen.get(), 0, 0, client.right, client.bottom, image, 0, 0, SRCCOPY);
    RedrawWindow(window, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_NOERASE | RDW_ALLCHILDREN);
    for (HWND control : drawThemselves) {
        SendMessageW(control, WM_NCPAINT, 1, 0);
        bars_.KeepAll(control);
    }
    return true;
}

}  // namespace mivra::win
