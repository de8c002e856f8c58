#include "base/ScrollBarPictures.h"

#include <algorithm>

namespace mivra::win {
namespace {

// Enough for every box of a dialog in a few states each; the oldest goes first.
constexpr size_t kMostPictures = 16;

// What a window has by its style: one scroll bar (OBJID_VSCROLL or
// OBJID_HSCROLL, both negative), none, or both.
constexpr LONG kNoBar = 1, kBothBars = 2;
LONG BarsOf(HWND control) {
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const bool vertical = style & WS_VSCROLL, horizontal = style & WS_HSCROLL;
    if (vertical && horizontal) return kBothBars;
    return vertical ? OBJID_VSCROLL : horizontal ? OBJID_HSCROLL : kNoBar;
}

}  // namespace

bool ScrollBarPictures::DrawAll(HWND control, HWND window, const RECT& shown, HDC image) const {
    const LONG bar = BarsOf(control);
    return bar == kNoBar || (bar != kBothBars && Draw(control, bar, window, shown, image));
}

void ScrollBarPictures::KeepAll(HWND control) {
    if (const LONG bar = BarsOf(control); bar != kNoBar && bar != kBothBars) Keep(control, bar);
}

bool ScrollBarPictures::StateOf(HWND control, LONG bar, State& state, RECT& onScreen) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    if (!GetScrollBarInfo(control, bar, &info)) return false;
    onScreen = info.rcScrollBar;
    state.bar = bar;
    state.width = info.rcScrollBar.right - info.rcScrollBar.left;
    state.height = info.rcScrollBar.bottom - info.rcScrollBar.top;
    state.lineButton = info.dxyLineButton;
    state.thumbTop = info.xyThumbTop;
    state.thumbBottom = info.xyThumbBottom;
    std::copy(std::begin(info.rgstate), std::end(info.rgstate), std::begin(state.parts));
    state.enabled = IsWindowEnabled(control) != FALSE;
    return true;
}

bool ScrollBarPictures::Draw(HWND control, LONG bar, HWND window, const RECT& shown, HDC image) const {
    State state;
    RECT place{};
    if (!StateOf(control, bar, state, place)) return false;
    if (state.parts[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN) || state.width <= 0 || state.height <= 0)
        return true;
    const auto found = std::find_if(pictures_.begin(), pictures_.end(), [&](const Picture& p) { return p.state == state; });
    if (found == pictures_.end()) return false;
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    RECT part{};
    if (!IntersectRect(&part, &place, &shown)) return true;
    return BitBlt(image, part.left, part.top, part.right - part.left, part.bottom - part.top, found->pixels.dc(),
                  part.left - place.left, part.top - place.top, SRCCOPY) != FALSE;
}

void ScrollBarPictures::Keep(HWND control, LONG bar) {
    State state;
    RECT place{};
    if (!StateOf(control, bar, state, place) || state.width <= 0 || state.height <= 0) return;
    if (state.parts[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) return;
    // A bar under the pointer may be drawn lit: not the picture to keep.
    POINT pointer{};
    if (GetCursorPos(&pointer) && PtInRect(&place, pointer)) return;
    RECT frame{};
    GetWindowRect(control, &frame);
    const WindowDc source(control, DCX_WINDOW | DCX_CACHE);
    if (!source.get()) return;
    MemoryCanvas pixels(CreateBitmapFor(source.get(), state.width, state.height), source.get());
    if (!pixels || !BitBlt(pixels.dc(), 0, 0, state.width, state.height, source.get(), place.left - frame.left,
                           place.top - frame.top, SRCCOPY))
        return;
    std::erase_if(pictures_, [&](const Picture& p) { return p.state == state; });
    if (pictures_.size() >= kMostPictures) pictures_.erase(pictures_.begin());
    pictures_.push_back({state, std::move(pixels)});
}

}  // namespace mivra::win
