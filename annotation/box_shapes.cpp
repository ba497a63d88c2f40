#include "annotation/box_shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "annotation/shape_painter.h"

using base::CursorKind;

namespace {

bool Near(int a, int b, int e) { return std::abs(a - b) <= e; }
bool Within(int v, int low, int high) { return v >= low && v <= high; }

}  // namespace

CursorKind BoxHitCursor(int code) {
    switch (code) {
        case kBoxLeft:
        case kBoxRight: return CursorKind::kSizeWE;
        case kBoxTop:
        case kBoxBottom: return CursorKind::kSizeNS;
        case kBoxLeft | kBoxTop:
        case kBoxRight | kBoxBottom: return CursorKind::kSizeNWSE;
        case kBoxRight | kBoxTop:
        case kBoxLeft | kBoxBottom: return CursorKind::kSizeNESW;
        case kBoxBody: return CursorKind::kSizeAll;
        default: return CursorKind::kArrow;
    }
}

void CBoxShape::OnMouseDown(int x, int y) {
    pressX_ = x;
    pressY_ = y;
    pressBox_ = box_;
    hitCode_ = HitCode(x, y);
    if (hitCode_ != kBoxMiss) {
        selected_ = true;
        moving_ = hitCode_ == kBoxBody;
        resizing_ = !moving_;
        return;
    }
    selected_ = false;
    if (!MissStartsCreating()) return;
    creating_ = selected_ = true;
    box_ = pressBox_ = ShapeBox{x, y, 0, 0};
}

void CBoxShape::OnMouseMove(int x, int y) {
    if (creating_) {
        box_ = ShapeBox{std::min(pressX_, x), std::min(pressY_, y), std::abs(x - pressX_), std::abs(y - pressY_)};
    } else if (moving_) {
        box_.x = pressBox_.x + (x - pressX_);
        box_.y = pressBox_.y + (y - pressY_);
    } else if (resizing_) {
        box_ = Resized(x, y);
        box_.width = std::max(box_.width, Config().minimumSize);
        box_.height = std::max(box_.height, Config().minimumSize);
    }
}

void CBoxShape::OnMouseUp() {
    if (creating_) {
        creating_ = false;
        if (box_.width < 0) {
            box_.x += box_.width;
            box_.width = -box_.width;
        }
        if (box_.height < 0) {
            box_.y += box_.height;
            box_.height = -box_.height;
        }
        box_.width = std::max(box_.width, Config().minimumSize);
        box_.height = std::max(box_.height, Config().minimumSize);
        selected_ = true;
    }
    moving_ = resizing_ = false;
    hitCode_ = kBoxMiss;
}

base::Rect CBoxShape::Extent() const {
    // Handles may carry an outline; smoothing adds a pixel.
    const BoxConfig& c = Config();
    const int handleHalf = HandleSize(c) / 2 + 1 + static_cast<int>(std::ceil(c.handleOutlineWidth));
    const int margin = std::max(static_cast<int>(std::ceil(c.lineWidth / 2)), handleHalf) + 2;
    return base::Inflated(base::Rect{box_.x, box_.y, box_.x + box_.width, box_.y + box_.height}, margin);
}

void CBoxShape::HandleCentres(base::Point out[8]) const {
    const int x = box_.x, y = box_.y, w = box_.width, h = box_.height;
    const base::Point centres[8] = {{x, y},         {x + w, y},         {x, y + h},     {x + w, y + h},
                                    {x + w / 2, y}, {x + w / 2, y + h}, {x, y + h / 2}, {x + w, y + h / 2}};
    std::copy(centres, centres + 8, out);
}

int CBoxShape::CornerCode(int px, int py, int e) const {
    const int x = box_.x, y = box_.y, r = box_.x + box_.width, b = box_.y + box_.height;
    if (Near(px, x, e) && Near(py, y, e)) return kBoxLeft | kBoxTop;
    if (Near(px, r, e) && Near(py, y, e)) return kBoxRight | kBoxTop;
    if (Near(px, x, e) && Near(py, b, e)) return kBoxLeft | kBoxBottom;
    if (Near(px, r, e) && Near(py, b, e)) return kBoxRight | kBoxBottom;
    return kBoxMiss;
}

CShapeRectangle::CShapeRectangle(ShapeConfigRegistry& registry) : CBoxShape(registry) { ReloadConfig(); }

void CShapeRectangle::Draw(ShapePainter& painter) const { painter.Paint(*this); }
void CShapeRectangle::ReloadConfig() { config_ = registry_.Get<RectangleConfig>(); }
void CShapeRectangle::StoreConfig() const { registry_.Get<RectangleConfig>() = config_; }

int CShapeRectangle::HitCode(int px, int py) const {
    const int x = box_.x, y = box_.y, w = box_.width, h = box_.height, e = config_.hitTolerance;
    if (w <= 0 || h <= 0) return kBoxMiss;
    if (const int corner = CornerCode(px, py, e)) return corner;
    if (Near(px, x, e) && Near(py, y + h / 2, e)) return kBoxLeft;
    if (Near(px, x + w, e) && Near(py, y + h / 2, e)) return kBoxRight;
    if (Near(py, y, e) && Near(px, x + w / 2, e)) return kBoxTop;
    if (Near(py, y + h, e) && Near(px, x + w / 2, e)) return kBoxBottom;
    // The outline, in bands 2e wide on each side of every edge; the inside is not the shape.
    const int band = 2 * e;
    const bool alongSides = Within(py, y, y + h) && (Within(px, x - band, x + band) || Within(px, x + w - band, x + w + band));
    const bool alongEnds = Within(px, x, x + w) && (Within(py, y - band, y + band) || Within(py, y + h - band, y + h + band));
    return alongSides || alongEnds ? kBoxBody : kBoxMiss;
}

ShapeBox CShapeRectangle::Resized(int px, int py) const {
    // The dragged edges jump to the pointer.
    ShapeBox b = pressBox_;
    if (hitCode_ & kBoxLeft) {
        b.x = px;
        b.width = pressBox_.x + pressBox_.width - px;
    }
    if (hitCode_ & kBoxRight) b.width = px - pressBox_.x;
    if (hitCode_ & kBoxTop) {
        b.y = py;
        b.height = pressBox_.y + pressBox_.height - py;
    }
    if (hitCode_ & kBoxBottom) b.height = py - pressBox_.y;
    return b;
}

CShapeEllipse::CShapeEllipse(ShapeConfigRegistry& registry) : CBoxShape(registry) { ReloadConfig(); }

void CShapeEllipse::Draw(ShapePainter& painter) const { painter.Paint(*this); }
void CShapeEllipse::ReloadConfig() { config_ = registry_.Get<EllipseConfig>(); }
void CShapeEllipse::StoreConfig() const { registry_.Get<EllipseConfig>() = config_; }

int CShapeEllipse::HitCode(int px, int py) const {
    const int x = box_.x, y = box_.y, w = box_.width, h = box_.height, e = config_.hitTolerance;
    if (w == 0 || h == 0) return kBoxMiss;
    if (const int corner = CornerCode(px, py, e)) return corner;
    // Whole sides of the bounding box resize, not only their middles.
    if (Near(px, x, e) && Within(py, y, y + h)) return kBoxLeft;
    if (Near(px, x + w, e) && Within(py, y, y + h)) return kBoxRight;
    if (Near(py, y, e) && Within(px, x, x + w)) return kBoxTop;
    if (Near(py, y + h, e) && Within(px, x, x + w)) return kBoxBottom;
    // The outline as a pen 4e wide would stroke it; far from the box it cannot be.
    const int band = 2 * e;
    if (!Within(px, x - band, x + w + band) || !Within(py, y - band, y + h + band)) return kBoxMiss;
    return NearEllipseOutline(box_, px, py, 2.0 * e) ? kBoxBody : kBoxMiss;
}

ShapeBox CShapeEllipse::Resized(int px, int py) const {
    // The dragged edges move by the pointer's travel since the press.
    const int dx = px - pressX_, dy = py - pressY_;
    ShapeBox b = pressBox_;
    if (hitCode_ & kBoxLeft) {
        b.x += dx;
        b.width -= dx;
    }
    if (hitCode_ & kBoxRight) b.width += dx;
    if (hitCode_ & kBoxTop) {
        b.y += dy;
        b.height -= dy;
    }
    if (hitCode_ & kBoxBottom) b.height += dy;
    return b;
}

bool NearEllipseOutline(const ShapeBox& box, double px, double py, double reach) {
    const double a = std::abs(box.width) / 2.0, b = std::abs(box.height) / 2.0;
    const double cx = box.x + box.width / 2.0, cy = box.y + box.height / 2.0;
    auto distanceAt = [&](double t) { return std::hypot(cx + a * std::cos(t) - px, cy + b * std::sin(t) - py); };
    // The nearest outline point: a coarse walk round the ellipse, then a narrowing search
    // around the best sample.
    constexpr int kSamples = 96;
    constexpr double kTwoPi = 6.283185307179586;
    double best = 0, bestDistance = distanceAt(0);
    for (int i = 1; i < kSamples; ++i) {
        const double t = kTwoPi * i / kSamples, d = distanceAt(t);
        if (d < bestDistance) {
            best = t;
            bestDistance = d;
        }
    }
    double low = best - kTwoPi / kSamples, high = best + kTwoPi / kSamples;
    for (int i = 0; i < 40; ++i) {
        const double m1 = low + (high - low) / 3, m2 = high - (high - low) / 3;
        if (distanceAt(m1) < distanceAt(m2)) {
            high = m2;
        } else {
            low = m1;
        }
    }
    return std::min(bestDistance, distanceAt((low + high) / 2)) <= reach;
}
