#include "base/dpi_scale.h"

#include <climits>

namespace base {

namespace {

// value * to / from, rounded half away from zero.
int Rescale(int value, int to, int from) {
    if (from <= 0) return value;
    const long long scaled = static_cast<long long>(value) * to;
    const long long half = from / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / from : -((-scaled + half) / from));
}

long long DistanceSquared(const Rect& r, Point p) {
    const long long dx = p.x < r.left ? r.left - p.x : (p.x >= r.right ? p.x - r.right + 1 : 0);
    const long long dy = p.y < r.top ? r.top - p.y : (p.y >= r.bottom ? p.y - r.bottom + 1 : 0);
    return dx * dx + dy * dy;
}

// The monitor holding p when each is seen as rectOf gives it, else the nearest; null for none.
template <typename RectOf>
const ScaledMonitor* MonitorFor(Point p, const std::vector<ScaledMonitor>& monitors, RectOf rectOf) {
    const ScaledMonitor* best = nullptr;
    long long bestDistance = LLONG_MAX;
    for (const ScaledMonitor& monitor : monitors) {
        const long long distance = DistanceSquared(rectOf(monitor), p);
        if (distance < bestDistance) {
            best = &monitor;
            bestDistance = distance;
        }
    }
    return best;
}

Rect PhysicalOf(const ScaledMonitor& monitor) { return monitor.physical; }

}  // namespace

int ScaleToDpi(int value, int dpi) { return Rescale(value, dpi, kBaseDpi); }

Rect LogicalRect(const ScaledMonitor& m) {
    return Rect{m.physical.left, m.physical.top, m.physical.left + Rescale(m.physical.Width(), kBaseDpi, m.dpi),
                m.physical.top + Rescale(m.physical.Height(), kBaseDpi, m.dpi)};
}

Point PhysicalToLogical(Point p, const std::vector<ScaledMonitor>& monitors) {
    const ScaledMonitor* m = MonitorFor(p, monitors, PhysicalOf);
    if (!m) return p;
    const Point origin{m->physical.left, m->physical.top};
    return Point{origin.x + Rescale(p.x - origin.x, kBaseDpi, m->dpi), origin.y + Rescale(p.y - origin.y, kBaseDpi, m->dpi)};
}

Point LogicalToPhysical(Point p, const std::vector<ScaledMonitor>& monitors) {
    const ScaledMonitor* m = MonitorFor(p, monitors, LogicalRect);
    if (!m) return p;
    const Point origin{m->physical.left, m->physical.top};
    return Point{origin.x + Rescale(p.x - origin.x, m->dpi, kBaseDpi), origin.y + Rescale(p.y - origin.y, m->dpi, kBaseDpi)};
}

int DpiAt(Point p, const std::vector<ScaledMonitor>& monitors) {
    const ScaledMonitor* m = MonitorFor(p, monitors, PhysicalOf);
    return m ? m->dpi : kBaseDpi;
}

const ScaledMonitor* MonitorAt(Point physical, const std::vector<ScaledMonitor>& monitors) {
    return MonitorFor(physical, monitors, PhysicalOf);
}

}  // namespace base
