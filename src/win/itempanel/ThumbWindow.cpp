#include "itempanel/ThumbWindow.h"

#include <windowsx.h>

#include "base/Gdi.h"
#include "layout/NineSlice.h"
#include "main/PanelLook.h"

namespace mivra::win {

bool ThumbWindow::Create(HINSTANCE instance, HWND panel) {
    return CreateChild(instance, L"MivraScrollThumb", panel, WS_CLIPSIBLINGS);
}

void ThumbWindow::Place(bool visible, const Box& box) {
    if (visible && box != box_) {
        const bool resized = box.width != box_.width || box.height != box_.height;
        SetWindowPos(hwnd(), HWND_TOP, box.left, box.top, box.width, box.height, SWP_NOACTIVATE);
        if (resized) InvalidateRect(hwnd(), nullptr, FALSE);
    }
    box_ = box;
    if (visible != visible_) ShowWindow(hwnd(), visible ? SW_SHOWNA : SW_HIDE);
    visible_ = visible;
}

void ThumbWindow::Draw(HDC dc, const RECT& client) const {
    const Picture& image = look_.item;
    // Painted from the pressed column of the cell picture.
    FillSolid(dc, client, image.FillColour());
    if (image) {
        const auto slices = ItemSlices(image.width(), image.height(), 2, Box{0, 0, client.right, client.bottom});
        image.DrawSlices(dc, slices);
    }
}

LRESULT ThumbWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PaintScope paint(hwnd());
        RECT client{};
        GetClientRect(hwnd(), &client);
        BufferedDc buffer(paint.dc(), client);
        Draw(buffer.dc(), client);
        return 0;
    }
    case WM_PRINTCLIENT: {
        // Painted as part of its panel's picture (ComposedPaint).
        RECT client{};
        GetClientRect(hwnd(), &client);
        Draw(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        dragging_ = true;
        grabY_ = GET_Y_LPARAM(lParam);
        SetCapture(hwnd());
        return 0;
    case WM_MOUSEMOVE:
        if (dragging_ && (wParam & MK_LBUTTON)) dragged_(box_.top + GET_Y_LPARAM(lParam) - grabY_);
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (std::exchange(dragging_, false) && GetCapture() == hwnd()) ReleaseCapture();
        return 0;
    }
    return Default(message, wParam, lParam);
}

}  // namespace mivra::win
