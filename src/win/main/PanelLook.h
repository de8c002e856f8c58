#pragma once
// What the panel looks like: colours, frame and title sizes, the pictures of
// the buttons, tabs and item cells, and the fonts. Starts as the program's
// own look; a skin replaces parts of it.

#include <windows.h>

#include <string>

#include "base/Unique.h"
#include "look/Picture.h"
#include "skin/SkinFile.h"

namespace mivra::win {

struct PanelLook {
    // Title bar (the panel's background and frame).
    int border = 0;            // an outline is drawn only when it is 1
    int titleBarHeight = 30;
    COLORREF bdColor = RGB(230, 230, 230);
    COLORREF bgColor = RGB(230, 230, 230);
    COLORREF fgColor = RGB(90, 90, 90);
    // Group bar.
    COLORREF tabBdColor = RGB(230, 230, 230);
    COLORREF tabFgColor = RGB(110, 110, 110);
    COLORREF tabFgColor2 = RGB(90, 90, 90);
    // Item panels.
    COLORREF itemFgColor = RGB(51, 51, 51);
    // Search box.
    COLORREF searchBgColor = RGB(210, 210, 210);
    COLORREF searchFgColor = RGB(90, 90, 90);  // the query text

    std::wstring skinName = L"Default";

    Picture searchButton, menuButton, minimizeButton, quitButton;  // three frames each
    Picture logo;       // 16 x 16
    Picture closeMark;  // the update bar's close square
    Picture tab;        // three frames: normal, hover, selected
    Picture item;       // three columns: normal, hover, pressed

    UniqueGdiObject font;  // "微软雅黑" 9.75 pt, for captions, tabs and the title

    static PanelLook BuiltIn();
    // Colours, sizes and the pictures a skin supplies; a picture the skin
    // leaves out, or whose bytes are no image, keeps the program's own.
    void ApplySkin(const Skin& skin);

    // Button width and height: a third of the quit button's width, its height.
    int ButtonWidth() const { return quitButton.width() / 3; }
    int ButtonHeight() const { return quitButton.height(); }
};

}  // namespace mivra::win
