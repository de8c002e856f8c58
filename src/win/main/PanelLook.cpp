#include "main/PanelLook.h"

#include <span>

#include "base/Gdi.h"
#include "look/BuiltInLook.h"

namespace mivra::win {
namespace {

Picture BuiltInPictureOf(BuiltInPicture which) { return Picture::FromPixels(RenderBuiltIn(which)); }

void Replace(Picture& picture, const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) return;
    if (Picture decoded = Picture::FromBytes(std::span<const std::uint8_t>(bytes))) picture = std::move(decoded);
}

}  // namespace

PanelLook PanelLook::BuiltIn() {
    PanelLook look;
    look.searchButton = BuiltInPictureOf(BuiltInPicture::SearchButton);
    look.menuButton = BuiltInPictureOf(BuiltInPicture::MenuButton);
    look.minimizeButton = BuiltInPictureOf(BuiltInPicture::MinimizeButton);
    look.quitButton = BuiltInPictureOf(BuiltInPicture::QuitButton);
    look.logo = BuiltInPictureOf(BuiltInPicture::Logo);
    look.closeMark = BuiltInPictureOf(BuiltInPicture::CloseMark);
    look.tab = BuiltInPictureOf(BuiltInPicture::Tab);
    look.item = BuiltInPictureOf(BuiltInPicture::ItemCell);
    look.searchBgColor = SearchBackground(look.bgColor);
    // 9.75 points at 96 dots per inch.
    look.font = CreateUiFont(-13, FW_NORMAL);
    return look;
}

void PanelLook::ApplySkin(const Skin& skin) {
    skinName = skin.name;
    border = skin.border;
    titleBarHeight = skin.titleBarHeight;
    bdColor = skin.bdColor;
    bgColor = skin.bgColor;
    fgColor = skin.fgColor;
    tabBdColor = skin.tabBdColor;
    tabFgColor = skin.tabFgColor;
    tabFgColor2 = skin.tabFgColor2;
    itemFgColor = skin.itemFgColor;
    searchBgColor = SearchBackground(skin.bgColor);
    searchFgColor = skin.fgColor;
    Replace(item, skin.picItem);
    Replace(searchButton, skin.picSearch);
    Replace(menuButton, skin.picMenu);
    Replace(minimizeButton, skin.picMini);
    Replace(quitButton, skin.picQuit);
    Replace(tab, skin.picTab);
}

}  // namespace mivra::win
