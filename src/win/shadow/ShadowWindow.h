#pragma once
// frmShadow: the soft drop shadow of a borderless window. A layered window
// with per-pixel alpha, owned by its window so that it stays just above it,
// 6 pixels beyond it on every side. Its region is the ring only, so that
// the owner takes every click over its own area (hit tests do not look at
// alpha everywhere). A resizable shadow resizes its owner by the edge or
// corner pressed.

#include <windows.h>

#include <functional>

#include "base/Window.h"
#include "layout/Geometry.h"

namespace mivra::win {

class ShadowWindow final : public Window<ShadowWindow> {
public:
    struct Resizing {
        // Whether a press resizes the owner now (an option may lock the size).
        std::function<bool()> allowed;
        // Told true before the owner is resized by a press, false after.
        std::function<void(bool)> underWay;
    };

    // Without `resizing`, the shadow never resizes anything.
    explicit ShadowWindow(Resizing resizing = {}) : resizing_(std::move(resizing)) {}

    bool Create(HINSTANCE instance, HWND owner);
    // Moves the shadow to its owner's place and size (and paints it again when the size changed).
    void Follow();
    // Shown (following the owner) or hidden.
    void Show(bool shown);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    // Around the owner, 6 pixels out, with the picture for that size.
    void PlaceAroundOwner(HWND insertAfter, UINT flags);
    void Paint(int width, int height);
    bool Resizable() const { return resizing_.allowed && resizing_.allowed(); }

    Resizing resizing_;
    HWND owner_ = nullptr;
    int width_ = 0, height_ = 0;  // as last painted
};

}  // namespace mivra::win
