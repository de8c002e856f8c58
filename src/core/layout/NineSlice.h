#pragma once
// Painting a cell from one frame of a three-frame image as a nine-slice with
// fixed 5-pixel borders. The result is a list of copies, each from a source
// rectangle of the image to a destination rectangle (stretched when the sizes
// differ), painted in order.

#include <array>

#include "layout/Geometry.h"

namespace mivra {

inline constexpr int kSliceBorder = 5;

struct Blit {
    Box source;
    Box target;
    bool operator==(const Blit&) const = default;
};

// The group bar's tabs: the frame's centre pixel over the whole cell, then
// 1-pixel edge strips stretched along the edges, then the four corners.
std::array<Blit, 9> TabSlices(int imageWidth, int imageHeight, int frame, const Box& cell);

// Item cells and the scroll thumb: the centre pixel over the cell, the four
// corners, then the whole edges stretched.
std::array<Blit, 9> ItemSlices(int imageWidth, int imageHeight, int frame, const Box& cell);

// The source x range of frame `frame` (0..2) of an image `imageWidth` wide.
int FrameLeft(int imageWidth, int frame);

}  // namespace mivra
