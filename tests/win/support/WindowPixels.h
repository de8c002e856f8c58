#pragma once
// What a window shows, pixel by pixel, read from its own DC (frame included).

#include <windows.h>

#include <vector>

namespace mivra::test {

inline std::vector<COLORREF> PixelsOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    HDC dc = GetWindowDC(window);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < r.bottom - r.top; ++y)
        for (int x = 0; x < r.right - r.left; ++x) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(window, dc);
    return pixels;
}

}  // namespace mivra::test
