#include "look/BuiltInLook.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace mivra {
namespace {

// A tiny anti-aliased painter. Shapes are signed distance functions in pixel
// units (negative inside); each pixel is split into 4 x 4 sub-pixels whose
// coverage comes from the distance at their centre, so straight edges that
// sit on pixel boundaries stay fully crisp and curves and diagonals are smooth.

struct Vec {
    float x;
    float y;
};

struct Colour {
    float r;
    float g;
    float b;
    float a = 1.0f;
};

constexpr Colour Rgb(int r, int g, int b, float a = 1.0f) {
    return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f, a};
}

Colour Mix(const Colour& from, const Colour& to, float t) {
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
            from.a + (to.a - from.a) * t};
}

// The region a shape can touch, in pixels (right and bottom exclusive).
struct Bounds {
    float left;
    float top;
    float right;
    float bottom;
};

struct Shape {
    std::function<float(Vec)> distance;
    Bounds bounds;
};

Shape RoundRect(float left, float top, float right, float bottom, float radius) {
    const float cx = (left + right) / 2, cy = (top + bottom) / 2;
    const float hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
    return {[=](Vec p) {
                const float qx = std::abs(p.x - cx) - hx, qy = std::abs(p.y - cy) - hy;
                const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
                return outside + std::min(std::max(qx, qy), 0.0f) - radius;
            },
            {left, top, right, bottom}};
}

Shape Rect(float left, float top, float right, float bottom) { return RoundRect(left, top, right, bottom, 0); }

Shape Ring(Vec centre, float radius, float width) {
    const float reach = radius + width / 2 + 1;
    return {[=](Vec p) { return std::abs(std::hypot(p.x - centre.x, p.y - centre.y) - radius) - width / 2; },
            {centre.x - reach, centre.y - reach, centre.x + reach, centre.y + reach}};
}

// A stroke along connected segments with round caps and joins.
Shape Polyline(std::initializer_list<Vec> points, float width) {
    std::vector<Vec> path(points);
    Bounds bounds{path[0].x, path[0].y, path[0].x, path[0].y};
    for (const Vec& p : path) {
        bounds = {std::min(bounds.left, p.x), std::min(bounds.top, p.y), std::max(bounds.right, p.x),
                  std::max(bounds.bottom, p.y)};
    }
    const float reach = width / 2 + 1;
    bounds = {bounds.left - reach, bounds.top - reach, bounds.right + reach, bounds.bottom + reach};
    return {[path, width](Vec p) {
                float nearest = 1e9f;
                for (size_t i = 0; i + 1 < path.size(); ++i) {
                    const Vec a = path[i], b = path[i + 1];
                    const float dx = b.x - a.x, dy = b.y - a.y;
                    const float length2 = dx * dx + dy * dy;
                    const float t =
                        length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0f, 1.0f) : 0;
                    nearest = std::min(nearest, std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy));
                }
                return nearest - width / 2;
            },
            bounds};
}

Shape Line(Vec from, Vec to, float width) { return Polyline({from, to}, width); }

class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height) {}

    void Fill(const Colour& colour) {
        for (Colour& p : pixels_) p = Premultiplied(colour);
    }

    // Paints a shape over what is there; `ink` gives the colour at a point.
    void Paint(const Shape& shape, const std::function<Colour(Vec)>& ink) {
        constexpr int kSamples = 4;
        constexpr float kStep = 1.0f / kSamples;
        // A little over half a pixel's diagonal (sub-pixel edges included).
        constexpr float kHalfDiagonal = 0.75f;
        const int x0 = std::max(0, static_cast<int>(std::floor(shape.bounds.left)));
        const int y0 = std::max(0, static_cast<int>(std::floor(shape.bounds.top)));
        const int x1 = std::min(width_, static_cast<int>(std::ceil(shape.bounds.right)));
        const int y1 = std::min(height_, static_cast<int>(std::ceil(shape.bounds.bottom)));
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                // Only pixels that an edge passes through need the sub-pixels.
                const float centre = shape.distance({x + 0.5f, y + 0.5f});
                float coverage = centre < -kHalfDiagonal ? 1.0f : 0.0f;
                if (std::abs(centre) <= kHalfDiagonal) {
                    for (int sy = 0; sy < kSamples; ++sy) {
                        for (int sx = 0; sx < kSamples; ++sx) {
                            const Vec p{x + (sx + 0.5f) * kStep, y + (sy + 0.5f) * kStep};
                            coverage += std::clamp(0.5f - shape.distance(p) / kStep, 0.0f, 1.0f);
                        }
                    }
                    coverage /= kSamples * kSamples;
                }
                if (coverage <= 0) continue;
                const Colour source = Premultiplied(ink({x + 0.5f, y + 0.5f}));
                Colour& target = pixels_[static_cast<size_t>(y) * width_ + x];
                const float keep = 1 - source.a * coverage;
                target = {source.r * coverage + target.r * keep, source.g * coverage + target.g * keep,
                          source.b * coverage + target.b * keep, source.a * coverage + target.a * keep};
            }
        }
    }

    void Paint(const Shape& shape, const Colour& colour) {
        Paint(shape, [&](Vec) { return colour; });
    }

    int width() const { return width_; }
    int height() const { return height_; }
    const Colour& At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

private:
    static Colour Premultiplied(const Colour& c) { return {c.r * c.a, c.g * c.a, c.b * c.a, c.a}; }

    int width_;
    int height_;
    std::vector<Colour> pixels_;
};

std::uint32_t Byte(float value) {
    return static_cast<std::uint32_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

// Frames of equal size side by side, as premultiplied 0xAARRGGBB pixels.
PixelImage SideBySide(const std::vector<Canvas>& frames) {
    PixelImage image;
    image.width = frames[0].width() * static_cast<int>(frames.size());
    image.height = frames[0].height();
    image.pixels.resize(static_cast<size_t>(image.width) * image.height);
    for (size_t f = 0; f < frames.size(); ++f) {
        const Canvas& frame = frames[f];
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                const Colour& c = frame.At(x, y);
                // Rounded on their own, a colour could come out above its alpha.
                const std::uint32_t alpha = Byte(c.a);
                const std::uint32_t r = std::min(Byte(c.r), alpha), g = std::min(Byte(c.g), alpha),
                                    b = std::min(Byte(c.b), alpha);
                image.pixels[static_cast<size_t>(y) * image.width + f * frame.width() + x] =
                    alpha << 24 | r << 16 | g << 8 | b;
            }
        }
    }
    return image;
}

// The palette: the title bar's grey, a calm blue accent and soft blue-grey
// highlights for hover and press.
constexpr Colour kTitleBackground = Rgb(230, 230, 230);
constexpr Colour kGlyph = Rgb(68, 68, 68);
constexpr Colour kGlyphStrong = Rgb(32, 32, 32);
constexpr Colour kButtonHover = Rgb(214, 214, 214);
constexpr Colour kButtonPressed = Rgb(198, 198, 198);
constexpr Colour kAccent = Rgb(0, 103, 192);
constexpr Colour kAccentLight = Rgb(0, 120, 215);
constexpr Colour kSearchActive = Rgb(204, 224, 245);
constexpr Colour kQuitHover = Rgb(224, 46, 46);
constexpr Colour kQuitPressed = Rgb(190, 32, 32);
constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kClear = Rgb(0, 0, 0, 0);
constexpr Colour kUpdateText = Rgb(0, 85, 170);
constexpr Colour kHover = Rgb(234, 241, 250);
constexpr Colour kTabSelected = Rgb(228, 238, 250);
constexpr Colour kCellPressed = Rgb(204, 220, 242);

constexpr int kButtonSize = 30;

enum class ButtonState { Normal, Hover, Pressed };

// The rounded square behind a glyph on hover and press.
Shape ButtonBack() { return RoundRect(3, 3, 27, 27, 4); }

using Glyph = std::function<void(Canvas&, const Colour&)>;

// Glyphs are drawn around (15, 14.5): one-pixel bars sit on whole rows.
void Magnifier(Canvas& canvas, const Colour& ink) {
    canvas.Paint(Ring({13.5f, 13.0f}, 4.6f, 1.3f), ink);
    canvas.Paint(Line({17.1f, 16.6f}, {20.4f, 19.9f}, 1.6f), ink);
}

void ThreeLines(Canvas& canvas, const Colour& ink) {
    for (float y : {10.0f, 14.0f, 18.0f}) canvas.Paint(Rect(10, y, 20, y + 1), ink);
}

void Bar(Canvas& canvas, const Colour& ink) { canvas.Paint(Rect(10, 14, 20, 15), ink); }

void Cross(Canvas& canvas, const Colour& ink) {
    canvas.Paint(Line({10.5f, 10.0f}, {19.5f, 19.0f}, 1.25f), ink);
    canvas.Paint(Line({19.5f, 10.0f}, {10.5f, 19.0f}, 1.25f), ink);
}

PixelImage Button(const Glyph& glyph, bool isSearch, bool isQuit) {
    std::vector<Canvas> frames;
    for (ButtonState state : {ButtonState::Normal, ButtonState::Hover, ButtonState::Pressed}) {
        Canvas canvas(kButtonSize, kButtonSize);
        canvas.Fill(kTitleBackground);
        Colour ink = kGlyph;
        if (state == ButtonState::Hover) {
            canvas.Paint(ButtonBack(), isQuit ? kQuitHover : kButtonHover);
            ink = isQuit ? kWhite : kGlyphStrong;
        } else if (state == ButtonState::Pressed) {
            // The search switch's third frame means "search is on".
            canvas.Paint(ButtonBack(), isQuit ? kQuitPressed : isSearch ? kSearchActive : kButtonPressed);
            ink = isQuit ? kWhite : isSearch ? kAccent : kGlyphStrong;
        }
        glyph(canvas, ink);
        frames.push_back(std::move(canvas));
    }
    return SideBySide(frames);
}

PixelImage Logo() {
    Canvas canvas(16, 16);
    canvas.Fill(kClear);
    canvas.Paint(RoundRect(0, 0, 16, 16, 4), [](Vec p) { return Mix(kAccentLight, kAccent, p.y / 16); });
    // An "M" whose middle stroke dips to the centre.
    canvas.Paint(Polyline({{4.0f, 11.0f}, {4.0f, 5.0f}, {8.0f, 9.0f}, {12.0f, 5.0f}, {12.0f, 11.0f}}, 2.0f), kWhite);
    return SideBySide({canvas});
}

PixelImage CloseMark() {
    Canvas canvas(12, 12);
    canvas.Fill(kClear);
    canvas.Paint(Line({3.0f, 3.0f}, {9.0f, 9.0f}, 1.2f), kUpdateText);
    canvas.Paint(Line({9.0f, 3.0f}, {3.0f, 9.0f}, 1.2f), kUpdateText);
    return SideBySide({canvas});
}

// Tabs: 24 x 28 frames. The group bar outlines every cell itself and fills
// its empty part with frame 0's centre, so frame 0 is plain white. Highlights
// are inset two pixels with corners that end inside the 5-pixel border.
PixelImage Tab() {
    constexpr int w = 24, h = 28;
    std::vector<Canvas> frames;
    for (int state = 0; state < 3; ++state) {
        Canvas canvas(w, h);
        canvas.Fill(kWhite);
        if (state == 1) canvas.Paint(RoundRect(2, 2, w - 2, h - 2, 3), kHover);
        if (state == 2) {
            canvas.Paint(RoundRect(2, 2, w - 2, h - 2, 3), kTabSelected);
            // The marker lies in the bottom border, so it runs along the whole
            // bottom edge whatever the cell's width.
            canvas.Paint(RoundRect(3, h - 5, w - 3, h - 3, 1), kAccent);
        }
        frames.push_back(std::move(canvas));
    }
    return SideBySide(frames);
}

// Item cells: 24 x 24 columns; the panel is filled with column 0's centre.
// Column 2 is also the scroll thumb, 12 pixels wide: an 8-pixel rounded bar.
PixelImage ItemCell() {
    constexpr int size = 24;
    std::vector<Canvas> frames;
    for (int state = 0; state < 3; ++state) {
        Canvas canvas(size, size);
        canvas.Fill(kWhite);
        if (state > 0) canvas.Paint(RoundRect(2, 2, size - 2, size - 2, 3), state == 1 ? kHover : kCellPressed);
        frames.push_back(std::move(canvas));
    }
    return SideBySide(frames);
}

}  // namespace

PixelImage RenderBuiltIn(BuiltInPicture picture) {
    switch (picture) {
        case BuiltInPicture::SearchButton: return Button(Magnifier, true, false);
        case BuiltInPicture::MenuButton: return Button(ThreeLines, false, false);
        case BuiltInPicture::MinimizeButton: return Button(Bar, false, false);
        case BuiltInPicture::QuitButton: return Button(Cross, false, true);
        case BuiltInPicture::Logo: return Logo();
        case BuiltInPicture::CloseMark: return CloseMark();
        case BuiltInPicture::Tab: return Tab();
        case BuiltInPicture::ItemCell: return ItemCell();
    }
    return {};
}

}  // namespace mivra
