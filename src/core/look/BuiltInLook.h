#pragma once
// The program's own look, used wherever no skin supplies a picture: the four
// title-bar buttons, the logo, the update bar's close mark, the tab image and
// the item cell image. Every picture is rendered here into premultiplied
// 32-bit pixels, anti-aliased and crisp at 96 DPI, so that the program needs
// no image decoder to start.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mivra {

struct PixelImage {
    int width = 0;
    int height = 0;
    // Top-down rows of premultiplied B, G, R, A (0xAARRGGBB as a 32-bit value).
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

enum class BuiltInPicture {
    SearchButton,  // three frames side by side: normal, hover, pressed or active
    MenuButton,
    MinimizeButton,
    QuitButton,
    Logo,          // 16 x 16
    CloseMark,     // the update bar's close mark
    Tab,           // three frames: normal, hover, selected
    ItemCell,      // three columns: normal, hover, pressed (also the scroll thumb)
};

PixelImage RenderBuiltIn(BuiltInPicture picture);

}  // namespace mivra
