#include "annotation/stroke_shapes.h"

#include <algorithm>
#include <cmath>

#include "annotation/shape_painter.h"

using base::CursorKind;
using base::Point;

namespace {

template <class T>
double Squared(T x, T y) {
    return static_cast<double>(x) * x + static_cast<double>(y) * y;
}

// Where the projection of p falls on the segment a-b, as a fraction clamped to 0 … 1.
double Projection(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay, length = dx * dx + dy * dy;
    if (length == 0) return 0;
    return std::clamp(((px - ax) * dx + (py - ay) * dy) / length, 0.0, 1.0);
}

}  // namespace

base::Rect BoundsOf(Point a, Point b, int margin) {
    return base::Inflated(base::Rect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1,
                                     std::max(a.y, b.y) + 1},
                          margin);
}

template <class P, class Config>
void CSegmentShape<P, Config>::OnMouseDown(int x, int y) {
    press_ = P{static_cast<decltype(P{}.x)>(x), static_cast<decltype(P{}.y)>(y)};
    pressStart_ = start_;
    pressEnd_ = end_;
    hitCode_ = HitCode(x, y);
    if (hitCode_ != kSegmentMiss) {
        selected_ = true;
        moving_ = hitCode_ == kSegmentBody;
        resizing_ = !moving_;
        return;
    }
    if (!creating_) selected_ = false;
    if (IsValid() && !creating_) return;
    selected_ = creating_ = true;
    start_ = end_ = press_;
}

template <class P, class Config>
void CSegmentShape<P, Config>::OnMouseMove(int x, int y) {
    const P at{static_cast<decltype(P{}.x)>(x), static_cast<decltype(P{}.y)>(y)};
    if (creating_) {
        end_ = at;
    } else if (moving_) {
        start_ = P{pressStart_.x + (at.x - press_.x), pressStart_.y + (at.y - press_.y)};
        end_ = P{pressEnd_.x + (at.x - press_.x), pressEnd_.y + (at.y - press_.y)};
    } else if (resizing_) {
        (hitCode_ == kSegmentStart ? start_ : end_) = at;
    }
}

template <class P, class Config>
void CSegmentShape<P, Config>::OnMouseUp() {
    if (creating_) {
        creating_ = false;
        const double length = std::sqrt(Squared(end_.x - start_.x, end_.y - start_.y));
        if (length > 0 && length < config_.minimumLength) end_ = Stretched();
    }
    moving_ = resizing_ = false;
    hitCode_ = kSegmentMiss;
}

template class CSegmentShape<FloatPoint, ArrowConfig>;
template class CSegmentShape<Point, LineConfig>;

int CShapeArrow::HitCode(int x, int y) const {
    const float px = static_cast<float>(x), py = static_cast<float>(y);
    const float t2 = static_cast<float>(config_.hitTolerance) * config_.hitTolerance;
    auto within = [&](float qx, float qy) { return t2 >= (px - qx) * (px - qx) + (py - qy) * (py - qy); };
    if (within(start_.x, start_.y)) return kSegmentStart;
    if (within(end_.x, end_.y)) return kSegmentEnd;
    if (start_ == end_) return kSegmentMiss;
    const float s = static_cast<float>(Projection(px, py, start_.x, start_.y, end_.x, end_.y));
    return within(start_.x + s * (end_.x - start_.x), start_.y + s * (end_.y - start_.y)) ? kSegmentBody : kSegmentMiss;
}

std::optional<CursorKind> CShapeArrow::CursorAt(int x, int y) const {
    switch (HitCode(x, y)) {
        case kSegmentEnd: return CursorKind::kHand;
        case kSegmentMiss: return CursorKind::kArrow;
        default: return CursorKind::kSizeAll;
    }
}

FloatPoint CShapeArrow::Stretched() const {
    const float dx = end_.x - start_.x, dy = end_.y - start_.y, length = std::sqrt(dx * dx + dy * dy);
    const float m = static_cast<float>(config_.minimumLength);
    return FloatPoint{start_.x + dx / length * m, start_.y + dy / length * m};
}

base::Rect CShapeArrow::Extent() const {
    const int reach = static_cast<int>(std::max({config_.headSize, ArrowWideShaftWidth(config_),
                                                 static_cast<float>(config_.handleSize) + config_.handleOutlineWidth})) + 3;
    const Point a{static_cast<int>(std::floor(start_.x)), static_cast<int>(std::floor(start_.y))};
    const Point b{static_cast<int>(std::floor(end_.x)), static_cast<int>(std::floor(end_.y))};
    return BoundsOf(a, b, reach);
}

void CShapeArrow::Draw(ShapePainter& painter) const { painter.Paint(*this); }

int CShapeLine::HitCode(int x, int y) const {
    const double t2 = static_cast<double>(config_.hitTolerance) * config_.hitTolerance;
    if (t2 >= Squared(x - start_.x, y - start_.y)) return kSegmentStart;
    if (t2 >= Squared(x - end_.x, y - end_.y)) return kSegmentEnd;
    if (start_ == end_) return kSegmentMiss;
    const double s = Projection(x, y, start_.x, start_.y, end_.x, end_.y);
    const int kx = start_.x + static_cast<int>(s * (end_.x - start_.x));
    const int ky = start_.y + static_cast<int>(s * (end_.y - start_.y));
    return t2 >= Squared(x - kx, y - ky) ? kSegmentBody : kSegmentMiss;
}

std::optional<CursorKind> CShapeLine::CursorAt(int x, int y) const {
    return HitCode(x, y) == kSegmentMiss ? CursorKind::kArrow : CursorKind::kSizeAll;
}

Point CShapeLine::Stretched() const {
    const int dx = end_.x - start_.x, dy = end_.y - start_.y;
    const double scale = config_.minimumLength / std::sqrt(Squared(dx, dy));
    return Point{start_.x + static_cast<int>(dx * scale), start_.y + static_cast<int>(dy * scale)};
}

base::Rect CShapeLine::Extent() const {
    const int reach = std::max(static_cast<int>(std::ceil(config_.lineWidth / 2)), HandleSize(config_) / 2 + 1);
    return BoundsOf(start_, end_, reach + 2);
}

void CShapeLine::Draw(ShapePainter& painter) const { painter.Paint(*this); }

void CShapeFreeLine::OnMouseDown(int x, int y) {
    if (HitTest(x, y)) {
        moving_ = true;
        press_ = Point{x, y};
        pointsAtPress_ = points_;
        pathBoundsAtPress_ = pathBounds_;
    } else if (points_.empty()) {
        points_.push_back(Point{x, y});
        pathBounds_ = BoundsOf(points_.back(), points_.back(), 0);
        drawing_ = true;
    }
}

void CShapeFreeLine::OnMouseMove(int x, int y) {
    if (drawing_) {
        points_.push_back(Point{x, y});
        pathBounds_ = base::Union(pathBounds_, BoundsOf(points_.back(), points_.back(), 0));
    } else if (moving_) {
        const int dx = x - press_.x, dy = y - press_.y;
        for (size_t i = 0; i < points_.size(); ++i) points_[i] = Point{pointsAtPress_[i].x + dx, pointsAtPress_[i].y + dy};
        pathBounds_ = base::Rect{pathBoundsAtPress_.left + dx, pathBoundsAtPress_.top + dy, pathBoundsAtPress_.right + dx,
                                 pathBoundsAtPress_.bottom + dy};
    }
}

void CShapeFreeLine::OnMouseUp() {
    drawing_ = false;
    if (moving_) {
        moving_ = false;
        pointsAtPress_.clear();
    }
}

bool CShapeFreeLine::HitTest(int x, int y) const {
    if (points_.size() < 2) return false;
    const double r = config_.hitTolerance + config_.lineWidth / 2.0;
    for (size_t i = 0; i + 1 < points_.size(); ++i) {
        const Point a = points_[i], b = points_[i + 1];
        const double s = Projection(x, y, a.x, a.y, b.x, b.y);
        if (r * r >= Squared(x - (a.x + s * (b.x - a.x)), y - (a.y + s * (b.y - a.y)))) return true;
    }
    return false;
}

std::optional<CursorKind> CShapeFreeLine::CursorAt(int x, int y) const {
    return !drawing_ && HitTest(x, y) ? CursorKind::kSizeAll : CursorKind::kArrow;
}

// The pen's half width, or a sharp turn's mitre (GDI+ limits it to 10 half widths).
int CShapeFreeLine::Reach() const { return static_cast<int>(std::ceil(5 * config_.lineWidth)) + 2; }

base::Rect CShapeFreeLine::Extent() const {
    return points_.empty() ? base::Rect{} : base::Inflated(pathBounds_, Reach());
}

std::optional<base::Rect> CShapeFreeLine::LastStepArea() const {
    // A stroke being drawn only grows by its last segment (its join with the one before lies
    // within the pen's reach of their common point).
    if (!drawing_ || points_.size() < 2) return std::nullopt;
    return BoundsOf(points_[points_.size() - 2], points_.back(), Reach());
}

void CShapeFreeLine::Draw(ShapePainter& painter) const { painter.Paint(*this); }
