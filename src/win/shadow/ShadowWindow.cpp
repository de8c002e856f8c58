#include "shadow/ShadowWindow.h"

#include <windowsx.h>

#include "base/Gdi.h"
#include "look/Shadow.h"

namespace mivra::win {
namespace {

constexpr wchar_t kClassName[] = L"MivraShadow";

const wchar_t* CursorFor(ShadowZone zone) {
    switch (zone) {
    case ShadowZone::TopLeft:
    case ShadowZone::BottomRight: return IDC_SIZENWSE;
    case ShadowZone::TopRight:
    case ShadowZone::BottomLeft: return IDC_SIZENESW;
    case ShadowZone::Left:
    case ShadowZone::Right: return IDC_SIZEWE;
    case ShadowZone::Top:
    case ShadowZone::Bottom: return IDC_SIZENS;
    case ShadowZone::None: break;
    }
    return IDC_ARROW;
}

}  // namespace

bool ShadowWindow::Create(HINSTANCE instance, HWND owner) {
    owner_ = owner;
    WNDCLASSEXW wc{};
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassOnce(instance, wc) &&
           CreateAs(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, L"", WS_POPUP, 0, 0, 0, 0,
                    owner, instance) != nullptr;
}

void ShadowWindow::Follow() { PlaceAroundOwner(nullptr, SWP_NOZORDER | SWP_NOACTIVATE); }

void ShadowWindow::Show(bool shown) {
    if (!hwnd()) return;
    if (!shown || !owner_) {
        ShowWindow(hwnd(), SW_HIDE);
        return;
    }
    // Placed, ordered and shown in one go, as it comes with the panel. In the
    // owner's band of the z-order: a shadow shown below a topmost owner would
    // take the owner down with it.
    const bool topMost = (GetWindowLongW(owner_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    PlaceAroundOwner(topMost ? HWND_TOPMOST : HWND_NOTOPMOST, SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_SHOWWINDOW);
}

void ShadowWindow::PlaceAroundOwner(HWND insertAfter, UINT flags) {
    if (!hwnd() || !owner_) return;
    RECT owner{};
    GetWindowRect(owner_, &owner);
    const Box box = ShadowBoxFor(ToBox(owner));
    // The picture is made for the new size first: shown, it is on the screen at once.
    if (box.width != width_ || box.height != height_) Paint(box.width, box.height);
    SetWindowPos(hwnd(), insertAfter, box.left, box.top, box.width, box.height, flags);
}

void ShadowWindow::Paint(int width, int height) {
    width_ = width;
    height_ = height;
    Dib picture = CreateDib(width, height);
    if (!picture) return;  // the shadow stays as it was: nothing to tell
    // Black throughout: in premultiplied pixels only the alpha is left. A new
    // DIB is all zero, so only the band along the edges is written.
    constexpr int kBand = 10;
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = picture.bits + static_cast<size_t>(y) * width;
        const bool edgeRow = y < kBand || y >= height - kBand;
        for (int x = 0; x < width; ++x) {
            if (!edgeRow && x == kBand && width - kBand > x) x = width - kBand;
            row[x] = static_cast<std::uint32_t>(ShadowAlphaAt(x, y, width, height)) << 24;
        }
    }
    const MemoryCanvas canvas(std::move(picture.bitmap));
    SIZE size{width, height};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(hwnd(), nullptr, nullptr, &size, canvas.dc(), &source, 0, &blend, ULW_ALPHA);
    // The system owns the region from here on.
    SetWindowRgn(hwnd(), static_cast<HRGN>(CreateRingRegion(width, height, kShadowWidth).release()), TRUE);
}

LRESULT ShadowWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_SETCURSOR: {
        POINT at{};
        GetCursorPos(&at);
        ScreenToClient(hwnd(), &at);
        const ShadowZone zone = Resizable() ? ShadowZoneAt(at.x, at.y, width_, height_) : ShadowZone::None;
        SetCursor(LoadCursorW(nullptr, CursorFor(zone)));
        return TRUE;
    }
    case WM_LBUTTONDOWN: {
        ReleaseCapture();
        if (!Resizable()) return 0;
        const ShadowZone zone = ShadowZoneAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), width_, height_);
        if (zone == ShadowZone::None) return 0;
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hwnd(), &at);
        if (resizing_.underWay) resizing_.underWay(true);
        // The window manager resizes the owner until the button is released.
        SendMessageW(owner_, WM_NCLBUTTONDOWN, static_cast<WPARAM>(zone), MAKELPARAM(at.x, at.y));
        if (resizing_.underWay) resizing_.underWay(false);
        return 0;
    }
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        ReleaseCapture();
        return 0;
    }
    return Default(message, wParam, lParam);
}

}  // namespace mivra::win
