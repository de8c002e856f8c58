#include "layout/NineSlice.h"

namespace mivra {

// Images smaller than two borders give pieces of zero or negative size; they
// are returned as computed and painting them is the painter's concern.

int FrameLeft(int imageWidth, int frame) { return static_cast<int>(static_cast<long long>(frame) * imageWidth / 3); }

std::array<Blit, 9> TabSlices(int imageWidth, int imageHeight, int frame, const Box& cell) {
    constexpr int e = kSliceBorder;
    const int a = FrameLeft(imageWidth, frame);
    const int b = FrameLeft(imageWidth, frame + 1);
    const int ph = imageHeight;
    const int x = cell.left;
    const int y = cell.top;
    const int w = cell.width;
    const int h = cell.height;
    return {{
        {{a + e, e, 1, 1}, cell},
        // One-pixel strips next to the corners, stretched along each edge.
        {{a, e, e, 1}, {x, y, e, h}},
        {{b - e, e, e, 1}, {x + w - e, y, e, h}},
        {{a + e, 0, 1, e}, {x, y, w, e}},
        {{a + e, ph - e, 1, e}, {x, y + h - e, w, e}},
        {{a, 0, e, e}, {x, y, e, e}},
        {{b - e, 0, e, e}, {x + w - e, y, e, e}},
        {{a, ph - e, e, e}, {x, y + h - e, e, e}},
        {{b - e, ph - e, e, e}, {x + w - e, y + h - e, e, e}},
    }};
}

std::array<Blit, 9> ItemSlices(int imageWidth, int imageHeight, int frame, const Box& cell) {
    constexpr int e = kSliceBorder;
    const int s = FrameLeft(imageWidth, frame);
    const int c = imageWidth / 3;
    const int ph = imageHeight;
    const int x = cell.left;
    const int y = cell.top;
    const int w = cell.width;
    const int h = cell.height;
    return {{
        {{s + e, e, 1, 1}, cell},
        {{s, 0, e, e}, {x, y, e, e}},
        {{s + c - e, 0, e, e}, {x + w - e, y, e, e}},
        {{s, ph - e, e, e}, {x, y + h - e, e, e}},
        {{s + c - e, ph - e, e, e}, {x + w - e, y + h - e, e, e}},
        // Whole edges of the frame, stretched between the corners.
        {{s + e, 0, c - 2 * e, e}, {x + e, y, w - 2 * e, e}},
        {{s + e, ph - e, c - 2 * e, e}, {x + e, y + h - e, w - 2 * e, e}},
        {{s, e, e, ph - 2 * e}, {x, y + e, e, h - 2 * e}},
        {{s + c - e, e, e, ph - 2 * e}, {x + w - e, y + e, e, h - 2 * e}},
    }};
}

}  // namespace mivra
