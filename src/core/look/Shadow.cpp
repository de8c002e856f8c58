#include "look/Shadow.h"

#include <cmath>

namespace mivra {
namespace {

constexpr int kCorner = 10;
// Along a corner's diagonal, from the corner inwards.
constexpr std::array<std::uint8_t, kShadowWidth> kCornerDiagonal = {0, 1, 2, 7, 14, 28};

// (x, y) counted from the corner's outer point.
std::uint8_t CornerAlpha(int x, int y) {
    if (x >= kShadowWidth && y >= kShadowWidth) return 0;
    if (y >= kShadowWidth) return kShadowRamp[x];  // the side edge runs on into the corner
    if (x >= kShadowWidth) return kShadowRamp[y];
    if (x == y) return kCornerDiagonal[x];
    // Both edges fade here: the product of their ramps, scaled to meet the diagonal.
    return static_cast<std::uint8_t>(std::lround(kShadowRamp[x] * kShadowRamp[y] / 150.0));
}

}  // namespace

std::uint8_t ShadowAlphaAt(int x, int y, int width, int height) {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    const int fromLeft = x, fromRight = width - 1 - x, fromTop = y, fromBottom = height - 1 - y;
    const int alongX = fromLeft < fromRight ? fromLeft : fromRight;
    const int alongY = fromTop < fromBottom ? fromTop : fromBottom;
    if (alongX < kCorner && alongY < kCorner) return CornerAlpha(alongX, alongY);
    if (alongX < kShadowWidth) return kShadowRamp[alongX];
    if (alongY < kShadowWidth) return kShadowRamp[alongY];
    return 0;
}

ShadowZone ShadowZoneAt(int x, int y, int width, int height) {
    const bool left = x < kCorner, right = x > width - kCorner, top = y < kCorner, bottom = y > height - kCorner;
    if (left && top) return ShadowZone::TopLeft;
    if (right && top) return ShadowZone::TopRight;
    if (left && bottom) return ShadowZone::BottomLeft;
    if (right && bottom) return ShadowZone::BottomRight;
    if (x <= kShadowWidth) return ShadowZone::Left;
    if (x >= width - kShadowWidth) return ShadowZone::Right;
    if (y <= kShadowWidth) return ShadowZone::Top;
    if (y >= height - kShadowWidth) return ShadowZone::Bottom;
    return ShadowZone::None;
}

}  // namespace mivra
