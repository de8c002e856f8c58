#include "main/TitleBar.h"

#include "base/Gdi.h"

namespace mivra::win {
namespace {

const Picture& PictureOf(const PanelLook& look, TitleButton button) {
    switch (button) {
    case TitleButton::Search: return look.searchButton;
    case TitleButton::Menu: return look.menuButton;
    case TitleButton::Minimize: return look.minimizeButton;
    default: return look.quitButton;
    }
}

void DrawText(HDC dc, const std::wstring& text, RECT rect, COLORREF color, UINT flags) {
    SetTextColor(dc, color);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags | DT_NOPREFIX);
}

}  // namespace

Box TitleBar::ButtonBox(TitleButton button, int width, bool displaySearchSwitch) const {
    if (button == TitleButton::None || (button == TitleButton::Search && !displaySearchSwitch)) return {};
    const int bw = look_.ButtonWidth(), b = look_.border;
    // Counted from the right: quit 1, minimise 2, menu 3, search 4.
    const int fromRight = 4 - static_cast<int>(button);
    return {width - b - fromRight * bw, b, bw, look_.ButtonHeight()};
}

TitleButton TitleBar::HitTest(int x, int y, int width, bool displaySearchSwitch) const {
    for (TitleButton button : {TitleButton::Search, TitleButton::Menu, TitleButton::Minimize, TitleButton::Quit})
        if (ButtonBox(button, width, displaySearchSwitch).Contains(x, y)) return button;
    return TitleButton::None;
}

int TitleBar::GetCtrlBoxLeft(int width) const {
    return width - (look_.menuButton.width() + look_.minimizeButton.width() + look_.quitButton.width()) / 3 -
           look_.border;
}

Box TitleBar::UpdateTextBox(int width) const {
    const int b = look_.border;
    return {b, b + look_.titleBarHeight, width - kUpdateBarHeight - 2 * b, kUpdateBarHeight};
}

Box TitleBar::UpdateCloseBox(int width) const {
    const int b = look_.border;
    return {width - kUpdateBarHeight - b, b + look_.titleBarHeight, kUpdateBarHeight, kUpdateBarHeight};
}

int TitleBar::FrameOf(TitleButton button, const TitleBarState& state) const {
    if (button == TitleButton::Search && state.searchMode) return 2;
    if (state.pressed == button && state.hot == button) return 2;
    if (state.hot == button && state.pressed == TitleButton::None) return 1;
    return 0;
}

void TitleBar::Paint(HDC dc, int width, int height, const TitleBarState& state) const {
    const int b = look_.border;
    FillSolid(dc, RECT{0, 0, width, height}, look_.bgColor);
    if (b == 1) FrameSolid(dc, RECT{0, 0, width, height}, look_.bdColor);

    SelectScope font(dc, look_.font.get());
    SetBkMode(dc, TRANSPARENT);
    int textLeft = b + 7;
    if (state.displayLogo && look_.logo) {
        look_.logo.Draw(dc, Box{0, 0, look_.logo.width(), look_.logo.height()}, Box{b + 7, b + 7, 16, 16});
        textLeft = b + 30;
    }
    DrawText(dc, caption_, RECT{textLeft, b, GetCtrlBoxLeft(width) - 12, b + 30}, look_.fgColor,
             DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS);

    for (TitleButton button : {TitleButton::Search, TitleButton::Menu, TitleButton::Minimize, TitleButton::Quit}) {
        const Box place = ButtonBox(button, width, state.displaySearchSwitch);
        if (place.width <= 0) continue;
        const Picture& picture = PictureOf(look_, button);
        const int frameWidth = picture.width() / 3;
        picture.Draw(dc, Box{FrameOf(button, state) * frameWidth, 0, frameWidth, picture.height()},
                     Box{place.left, place.top, frameWidth, picture.height()});
    }

    DrawText(dc, kLoadingText, RECT{0, b + 30, width, height - 30}, look_.fgColor,
             DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    if (state.updateMode) {
        const int top = b + look_.titleBarHeight;
        FillSolid(dc, RECT{b, top, width - b, top + kUpdateBarHeight}, RGB(255, 245, 185));
        DrawText(dc, state.updateText, RECT{7, top, width - kUpdateBarHeight - b, top + kUpdateBarHeight},
                 RGB(0, 85, 170), DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS);
        const Box close = UpdateCloseBox(width);
        const Picture& mark = look_.closeMark;
        mark.Draw(dc, Box{0, 0, mark.width(), mark.height()},
                  Box{close.left + (close.width - mark.width()) / 2, close.top + (close.height - mark.height()) / 2,
                      mark.width(), mark.height()});
    }
}

}  // namespace mivra::win
