#pragma once
// Plain pixel geometry shared by the layout of the panel, the group bar and
// the item grid. Coordinates are client pixels, origin top left.

namespace mivra {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    int bottom() const { return top + height; }
    // Left and top edges inclusive, right and bottom exclusive.
    bool Contains(int x, int y) const { return x >= left && x < right() && y >= top && y < bottom(); }
    bool operator==(const Box&) const = default;
};

}  // namespace mivra
