#include "layout/PanelDocking.h"

#include <algorithm>
#include <cmath>

namespace mivra {
namespace {

long long Overlap(int a0, int a1, int b0, int b1) { return std::max(0, std::min(a1, b1) - std::max(a0, b0)); }

long long Area(const Box& a, const Box& b) {
    return Overlap(a.left, a.right(), b.left, b.right()) * Overlap(a.top, a.bottom(), b.top, b.bottom());
}

// How far `panel` is from `monitor`, in pixels along both axes (0 when they meet).
long long Distance(const Box& panel, const Box& monitor) {
    const long long dx = std::max({0, monitor.left - panel.right(), panel.left - monitor.right()});
    const long long dy = std::max({0, monitor.top - panel.bottom(), panel.top - monitor.bottom()});
    return dx * dx + dy * dy;
}

const Box& MonitorFor(const Box& panel, std::span<const Box> monitors) {
    const Box* best = &monitors.front();
    long long bestArea = -1, bestDistance = 0;
    for (const Box& monitor : monitors) {
        const long long area = Area(panel, monitor), distance = Distance(panel, monitor);
        if (area > bestArea || (area == 0 && bestArea == 0 && distance < bestDistance)) {
            best = &monitor;
            bestArea = area;
            bestDistance = distance;
        }
    }
    return *best;
}

int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }

}  // namespace

DockFrame DockFrameFor(const Box& panel, std::span<const Box> monitors) {
    DockFrame frame{MonitorFor(panel, monitors), {}};
    const Box& m = frame.monitor;
    // An edge is outer where the panel parked beyond it is off the whole
    // virtual screen: beyond an edge that another monitor adjoins it would be
    // on that monitor, and beyond an edge inside the virtual rectangle (the
    // bottom of a smaller monitor) it would stand in a gap, partly on a
    // neighbouring monitor when it is wider than its own.
    int left = m.left, top = m.top, right = m.right(), bottom = m.bottom();
    for (const Box& other : monitors) {
        left = std::min(left, other.left);
        top = std::min(top, other.top);
        right = std::max(right, other.right());
        bottom = std::max(bottom, other.bottom());
    }
    frame.outer = {m.left == left, m.right() == right, m.top == top, m.bottom() == bottom};
    return frame;
}

Edges DockedEdges(const Box& p, const DockFrame& f) {
    const Box& m = f.monitor;
    return {f.outer.left && p.left <= m.left, f.outer.right && p.left >= m.right() - p.width,
            f.outer.top && p.top <= m.top, f.outer.bottom && p.top >= m.bottom() - p.height};
}

Edges ParkedEdges(const Box& p, const DockFrame& f) {
    const Box& m = f.monitor;
    return {f.outer.left && p.left == m.left - p.width, f.outer.right && p.left == m.right(),
            f.outer.top && p.top == m.top - p.height, f.outer.bottom && p.top == m.bottom()};
}

Edges OutsideEdges(const Box& p, const DockFrame& f) {
    const Box& m = f.monitor;
    return {f.outer.left && p.left < m.left, f.outer.right && p.left > m.right() - p.width,
            f.outer.top && p.top < m.top, f.outer.bottom && p.top > m.bottom() - p.height};
}

HidePlan PlanHide(const Box& p, const DockFrame& f, HideMode mode) {
    const Box& m = f.monitor;
    const Edges docked = DockedEdges(p, f), parked = ParkedEdges(p, f);
    HidePlan plan;
    if (!docked.Any()) {
        plan.action = mode == HideMode::OnRequest ? HidePlan::Action::HideWindow : HidePlan::Action::Stay;
        return plan;
    }
    // Top before bottom, left before right: a panel wider than the screen docks left.
    Edges at;
    at.top = docked.top;
    at.bottom = !at.top && docked.bottom;
    at.left = docked.left;
    at.right = !at.left && docked.right;
    Point target{p.left, p.top};
    if (at.left) target.x = m.left - p.width;
    if (at.right) target.x = m.right();
    if (at.top) target.y = m.top - p.height;
    if (at.bottom) target.y = m.bottom();
    const bool alreadyParked = (at.left && parked.left) || (at.right && parked.right) ||
                               (at.top && parked.top) || (at.bottom && parked.bottom);
    plan.hidden = at;
    plan.action = alreadyParked ? HidePlan::Action::Stay : HidePlan::Action::Slide;
    plan.target = target;
    return plan;
}

std::optional<Point> ShowTarget(const Box& p, const DockFrame& f) {
    const Box& m = f.monitor;
    const Edges out = OutsideEdges(p, f);
    // Back inside the outer edges; along the other axis only as far as those allow.
    const int low = f.outer.left ? m.left : p.left, high = f.outer.right ? m.right() - p.width : p.left;
    const int clampedLeft = Clamp(p.left, std::min(low, high), std::max(low, high));
    if (out.bottom) return Point{clampedLeft, m.bottom() - p.height};
    if (out.top) return Point{clampedLeft, m.top};
    if (out.left) return Point{m.left, p.top};
    if (out.right) return Point{m.right() - p.width, p.top};
    return std::nullopt;
}

Point KeptOnScreen(const Box& panel, const Box& area) {
    return {std::max(area.left, std::min(panel.left, area.right() - panel.width)),
            std::max(area.top, std::min(panel.top, area.bottom() - panel.height))};
}

bool WhollyOnScreen(const Box& panel, const DockFrame& frame) { return !OutsideEdges(panel, frame).Any(); }

AutoHideStep StepAutoHide(const Box& p, Point c, const DockFrame& f) {
    const int l = p.left, r = p.right(), t = p.top, b = p.bottom();
    if (l - 5 <= c.x && c.x <= r + 5 && t - 5 <= c.y && c.y <= b + 5)
        return OutsideEdges(p, f).Any() ? AutoHideStep::Show : AutoHideStep::Nothing;
    const bool away = c.x <= l - 15 || c.x >= r + 15 || c.y <= t - 15 || c.y >= b + 15;
    if (away && DockedEdges(p, f).Any() && !ParkedEdges(p, f).Any()) return AutoHideStep::Park;
    return AutoHideStep::Nothing;
}

Point SlidePosition(Point from, Point to, int elapsedMs, bool animate) {
    if (!animate || elapsedMs >= kSlideMs) return to;
    const int steps = std::max(0, elapsedMs / 10);
    const auto step = [](int a, int b) { return static_cast<int>(std::lround((b - a) / 12.0)); };
    return {from.x + steps * step(from.x, to.x), from.y + steps * step(from.y, to.y)};
}

Point FollowMouse(const Box& panel, Point pointer, std::span<const Box> monitors) {
    const Box& m = MonitorFor({pointer.x, pointer.y, 1, 1}, monitors);
    const Box centred{pointer.x - panel.width / 2, pointer.y - panel.height / 2, panel.width, panel.height};
    return KeptOnScreen(centred, m);
}

Point AfterDisplayChange(const Box& panel, Edges parked, std::span<const Box> monitors) {
    const DockFrame frame = DockFrameFor(panel, monitors);
    const Box& m = frame.monitor;
    if (parked.Any()) {
        Point at{panel.left, panel.top};
        if (parked.left) at.x = m.left - panel.width;
        if (parked.right) at.x = m.right();
        if (parked.top) at.y = m.top - panel.height;
        if (parked.bottom) at.y = m.bottom();
        // Along the other axis, the parked panel stays within its monitor.
        if (!parked.left && !parked.right) at.x = Clamp(at.x, m.left, std::max(m.left, m.right() - panel.width));
        if (!parked.top && !parked.bottom) at.y = Clamp(at.y, m.top, std::max(m.top, m.bottom() - panel.height));
        return at;
    }
    if (Area(panel, m) > 0) return {panel.left, panel.top};
    return KeptOnScreen(panel, m);  // its monitor went away
}

}  // namespace mivra
