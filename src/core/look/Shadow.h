#pragma once
// The drop shadow of the program's borderless windows: a ring 6 pixels wide
// around the owner that fades outwards, fully transparent over the owner,
// and for the main panel the handle that resizes it by edge and corner.

#include <array>
#include <cstdint>

#include "layout/Geometry.h"

namespace mivra {

// How far the shadow reaches beyond its owner on every side, in pixels.
inline constexpr int kShadowWidth = 6;
// The alpha of the ring from the outside in.
inline constexpr std::array<std::uint8_t, kShadowWidth> kShadowRamp = {3, 10, 19, 31, 47, 65};

// The shadow's rectangle for an owner at `owner`.
constexpr Box ShadowBoxFor(const Box& owner) {
    return {owner.left - kShadowWidth, owner.top - kShadowWidth, owner.width + 2 * kShadowWidth,
            owner.height + 2 * kShadowWidth};
}

// The alpha of pixel (x, y) of a shadow `width` x `height` pixels: the ramp
// along each edge, the 10 x 10 corners blending the two edges, 0 inside.
std::uint8_t ShadowAlphaAt(int x, int y, int width, int height);

// Where a press on the shadow resizes its owner; the values are the
// system's hit-test codes, which the owner is handed.
enum class ShadowZone : int {
    None = 0,
    Left = 10,
    Right = 11,
    Top = 12,
    TopLeft = 13,
    TopRight = 14,
    Bottom = 15,
    BottomLeft = 16,
    BottomRight = 17,
};

// Within 10 pixels of a corner, that corner; else within 6 pixels of the
// left or right edge, that edge; else of the top or bottom; else None.
ShadowZone ShadowZoneAt(int x, int y, int width, int height);

}  // namespace mivra
