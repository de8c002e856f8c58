#pragma once
// The slim thumb on the item panel's right edge: a child window of its own,
// so that it stays on top of the cells and takes the mouse where it lies.

#include <windows.h>

#include <functional>

#include "base/Window.h"
#include "layout/Geometry.h"

namespace mivra::win {

struct PanelLook;

class ThumbWindow final : public Window<ThumbWindow> {
public:
    // `dragged` receives the thumb's wanted top while it is dragged.
    ThumbWindow(const PanelLook& look, std::function<void(int top)> dragged)
        : look_(look), dragged_(std::move(dragged)) {}

    bool Create(HINSTANCE instance, HWND panel);
    // Shows the thumb at `box` (panel pixels), or hides it.
    void Place(bool visible, const Box& box);
    bool Dragging() const { return dragging_; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Draw(HDC dc, const RECT& client) const;

    const PanelLook& look_;
    std::function<void(int)> dragged_;
    Box box_;
    bool visible_ = false;
    bool dragging_ = false;
    int grabY_ = 0;
};

}  // namespace mivra::win
