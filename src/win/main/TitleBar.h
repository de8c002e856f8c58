#pragma once
// The title bar: the panel's background and frame painter, the logo and
// title, the four buttons at the top right, the waiting text and the update
// bar. Not a window of its own: the main panel paints it under its children
// and passes it the mouse.

#include <windows.h>

#include <string>

#include "layout/Geometry.h"
#include "main/PanelLook.h"

namespace mivra::win {

enum class TitleButton { None = -1, Search = 0, Menu = 1, Minimize = 2, Quit = 3 };

struct TitleBarState {
    bool displayLogo = true;
    bool displaySearchSwitch = true;
    bool searchMode = false;
    bool updateMode = false;
    std::wstring updateText;
    TitleButton hot = TitleButton::None;      // under the pointer
    TitleButton pressed = TitleButton::None;  // held with the left button
};

inline constexpr int kUpdateBarHeight = 28;
inline constexpr wchar_t kLoadingText[] = L"加载数据中...";

class TitleBar {
public:
    explicit TitleBar(const PanelLook& look) : look_(look) {}

    void SetCaption(std::wstring caption) { caption_ = std::move(caption); }
    const std::wstring& Caption() const { return caption_; }

    // The button's place in a panel `width` wide; empty when it is not shown.
    Box ButtonBox(TitleButton button, int width, bool displaySearchSwitch) const;
    TitleButton HitTest(int x, int y, int width, bool displaySearchSwitch) const;
    // The left edge of the menu, minimise and quit buttons.
    int GetCtrlBoxLeft(int width) const;

    // Where the update bar's text part and close square are.
    Box UpdateTextBox(int width) const;
    Box UpdateCloseBox(int width) const;

    void Paint(HDC dc, int width, int height, const TitleBarState& state) const;

private:
    int FrameOf(TitleButton button, const TitleBarState& state) const;

    const PanelLook& look_;
    std::wstring caption_;
};

}  // namespace mivra::win
