#pragma once
// frmMain: the borderless main panel. It owns nothing of the program's state;
// it turns messages into calls on its host and paints.

#include <functional>

#include "base/Unique.h"
#include "base/Window.h"

namespace mivra::win {

class MainPanel final : public Window<MainPanel> {
public:
    struct Events {
        std::function<void()> destroyed;  // the window is gone: the program shuts down
        std::function<void(LPARAM)> trayCallback;  // message 1027 from the tray icon
    };

    MainPanel(HINSTANCE instance, Events events);
    ~MainPanel();

    // Creates the window hidden, at the given rectangle in pixels.
    bool Create(const RECT& bounds);
    void ShowPanel();
    void Close();

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnPaint();

    HINSTANCE instance_;
    Events events_;
    UniqueGdiObject titleFont_;
};

// The default panel rectangle: 354 x 400 pixels, placed at 40 % of the free
// space of the primary work area.
RECT DefaultPanelBounds();

}  // namespace mivra::win
