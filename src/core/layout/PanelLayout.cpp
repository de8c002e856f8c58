#include "layout/PanelLayout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace mivra {
namespace {

constexpr int kGapUnderTitle = 5;

int Saturate(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

// A tiny panel can leave no room; such a child gets an empty box.
Box MakeBox(long long left, long long top, long long width, long long height) {
    return {Saturate(left), Saturate(top), Saturate(std::max(width, 0LL)), Saturate(std::max(height, 0LL))};
}

// The content top is a 16-bit value; a step that would leave its range is
// dropped and the top stays where it was.
void AddToContentTop(std::int16_t& top, long long step) {
    const long long next = top + step;
    if (next >= INT16_MIN && next <= INT16_MAX) top = static_cast<std::int16_t>(next);
}

}  // namespace

PanelLayoutResult LayOutPanel(const PanelLayoutInput& input) {
    PanelLayoutResult result;
    const long long w = input.width;
    const long long h = input.height;
    const long long b = input.border;
    result.titleBar = MakeBox(0, 0, w, h);
    result.tabBar = input.tabBar;

    std::int16_t top = 0;
    AddToContentTop(top, b + input.titleBarHeight);
    // A bar at the top sits right under the title; anything else keeps a gap.
    if (!input.searchVisible && input.tabBar.view != TabBarView::Top) AddToContentTop(top, kGapUnderTitle);
    if (input.updateMode) AddToContentTop(top, input.updateBarHeight);
    result.contentTop = top;
    const long long t = top;

    if (input.searchVisible) {
        result.search = MakeBox(b, t, w - 2 * b, h - t - b);
        return result;
    }

    TabBarGeometry bar = input.tabBar;
    const long long rowWidth = std::max(w - 2 * b, 0LL);
    switch (bar.view) {
        case TabBarView::None:
            result.items = MakeBox(b, t, w - 2 * b, h - t - b);
            break;
        case TabBarView::Top: {
            bar.width = Saturate(rowWidth);
            bar = ReHeight(bar, input.tabCount);
            result.groupBar = MakeBox(b, t, rowWidth, bar.height);
            result.items = MakeBox(b, t + bar.height, w - 2 * b, h - t - bar.height - b);
            break;
        }
        case TabBarView::Bottom: {
            // Sized for the new width first, then moved to the bottom edge
            // with its new height.
            bar.width = Saturate(rowWidth);
            bar = ReHeight(bar, input.tabCount);
            result.items = MakeBox(b, t, w - 2 * b, h - t - bar.height - b);
            result.groupBar = MakeBox(b, h - bar.height - b, rowWidth, bar.height);
            break;
        }
        case TabBarView::Left:
        case TabBarView::Right: {
            // A side bar's cells do not depend on its width, so they are
            // measured first and the bar is one cell plus its separator wide
            // from the first layout on.
            bar = ReHeight(bar, input.tabCount);
            const long long barWidth = std::max(static_cast<long long>(bar.unitW) + 1, 0LL);
            bar.width = Saturate(barWidth);
            bar.height = Saturate(std::max(h - t - b, 0LL));
            const long long itemsWidth = w - barWidth - 2 * b;
            if (bar.view == TabBarView::Left) {
                result.groupBar = MakeBox(b, t, barWidth, h - t - b);
                result.items = MakeBox(barWidth + b, t, itemsWidth, h - t - b);
            } else {
                result.groupBar = MakeBox(w - barWidth - b, t, barWidth, h - t - b);
                result.items = MakeBox(b, t, itemsWidth, h - t - b);
            }
            break;
        }
    }
    result.tabBar = bar;
    return result;
}

}  // namespace mivra
