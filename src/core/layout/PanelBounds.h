#pragma once
// The panel's rectangle as the configuration stores it (key "Size"): left,
// top, width and height in twips joined by ",", decimal, fractions allowed.

#include <optional>
#include <string>
#include <string_view>

#include "layout/Geometry.h"

namespace mivra {

inline constexpr int kDefaultPanelWidth = 354;
inline constexpr int kDefaultPanelHeight = 400;

// The stored rectangle in pixels; nullopt unless the text holds four numbers
// and a positive width and height.
std::optional<Box> ParseStoredBounds(std::wstring_view text, int twipsPerPixelX, int twipsPerPixelY);

// The text stored for a rectangle in pixels.
std::wstring FormatStoredBounds(const Box& pixels, int twipsPerPixelX, int twipsPerPixelY);

// The default rectangle: 354 x 400 pixels at 40 % of the free space of the
// screen.
Box DefaultBounds(int screenWidth, int screenHeight);

}  // namespace mivra
