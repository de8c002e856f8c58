#pragma once
// Showing, hiding and docking the panel: the arithmetic that needs no window.
// Everything is in pixels of the virtual screen.
//
// A panel docks at the edges of the monitor that holds most of it, and only
// at its outer edges, those on the outline of the virtual screen: an edge
// that another monitor adjoins leads onto that monitor, and beyond an edge
// inside the virtual rectangle (the bottom of a smaller monitor) a parked
// panel would stand in a gap, partly on a neighbour. Parked, the panel stands
// just beyond the edge, off every monitor, and comes back when the pointer
// touches that edge.

#include <optional>
#include <span>

#include "layout/Geometry.h"

namespace mivra {

// Why the panel is hidden: on request (Escape, the hotkey, after a start),
// or automatically (the pointer left a docked panel); only a docked panel
// reacts to the automatic one.
enum class HideMode : int { OnRequest = 0, Automatic = 1 };

struct Edges {
    bool left = false, right = false, top = false, bottom = false;
    bool Any() const { return left || right || top || bottom; }
    bool operator==(const Edges&) const = default;
};

// The monitor a panel docks on, and which of its edges are outer for that panel.
struct DockFrame {
    Box monitor;
    Edges outer;
};

// The monitor holding most of `panel` (a panel on none: the nearest one);
// `monitors` are the whole rectangles of the monitors, at least one.
DockFrame DockFrameFor(const Box& panel, std::span<const Box> monitors);

// At an outer edge or beyond it.
Edges DockedEdges(const Box& panel, const DockFrame& frame);
// Exactly parked beyond an outer edge.
Edges ParkedEdges(const Box& panel, const DockFrame& frame);
// Sticking out beyond an outer edge (parked ones included).
Edges OutsideEdges(const Box& panel, const DockFrame& frame);

// What a hide does.
struct HidePlan {
    enum class Action { HideWindow, Slide, Stay } action = Action::Stay;
    Point target;  // for Slide
    Edges hidden;  // the edges the panel is parked at afterwards
};
// With AutoHide on: a docked panel is parked at its edges (top before
// bottom, left before right; one already parked there stays), a panel at no
// edge is hidden on request and left alone by the automatic hide.
HidePlan PlanHide(const Box& panel, const DockFrame& frame, HideMode mode);

// Where a panel slides to when shown with AutoHide on: back inside the outer
// edges it sticks out of; nullopt when it is inside.
std::optional<Point> ShowTarget(const Box& panel, const DockFrame& frame);

// Where a panel of `panel`'s size goes to be wholly inside `area`, moved as
// little as possible; a panel larger than the area keeps its left or top
// edge on the area's.
Point KeptOnScreen(const Box& panel, const Box& area);

// The hotkey's question: the panel is on the screen, not parked or partly
// beyond an outer edge (then the hotkey hides it; otherwise it shows it).
bool WhollyOnScreen(const Box& panel, const DockFrame& frame);

// The periodic auto-hide step, for the pointer at `pointer`.
enum class AutoHideStep { Nothing, Show, Park };
AutoHideStep StepAutoHide(const Box& panel, Point pointer, const DockFrame& frame);

// The slide of a shown or parked panel: twelve equal steps 10 ms apart, the
// last one exactly onto the target.
inline constexpr int kSlideMs = 110;
Point SlidePosition(Point from, Point to, int elapsedMs, bool animate);

// The panel centred on the pointer, kept inside the monitor the pointer is on.
Point FollowMouse(const Box& panel, Point pointer, std::span<const Box> monitors);

// After the displays changed: a parked panel parked again at the same edges
// of its monitor; a panel whose monitor went away onto the nearest one.
Point AfterDisplayChange(const Box& panel, Edges parked, std::span<const Box> monitors);

}  // namespace mivra
