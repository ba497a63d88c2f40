#include "annotation/mosaic_shape.h"

#include <algorithm>
#include <cmath>

#include "annotation/shape_painter.h"

using base::CursorKind;

base::Rect CShapeMosaic::AddStroke(int x0, int y0, int x1, int y1) {
    const double dx = x1 - x0, dy = y1 - y0, length = std::sqrt(dx * dx + dy * dy);
    base::Rect added;
    auto add = [&](int x, int y) {
        const MosaicCell cell = CellAt(x, y);
        if (!cells_.insert(cell).second) return;
        added = base::Union(added, CellRect(cell));
        bounds_ = base::Union(bounds_, CellRect(cell));
    };
    if (length == 0) {
        add(x0, y0);
        return added;
    }
    // One sample per pixel of length keeps a fast stroke continuous.
    const double g = std::max(1.0, length), sx = dx / g, sy = dy / g;
    const int n = static_cast<int>(g);
    for (int i = 0; i <= n; ++i) add(x0 + static_cast<int>(i * sx), y0 + static_cast<int>(i * sy));
    return added;
}

void CShapeMosaic::OnMouseDown(int x, int y) {
    if (HitTest(x, y)) {
        moving_ = true;
        press_ = base::Point{x, y};
        cellsAtPress_ = cells_;
        boundsAtPress_ = bounds_;
    } else if (cells_.empty()) {
        drawing_ = true;
        last_ = base::Point{x, y};
        lastStep_ = AddStroke(x, y, x, y);
    }
}

void CShapeMosaic::OnMouseMove(int x, int y) {
    if (drawing_) {
        lastStep_ = AddStroke(last_.x, last_.y, x, y);
        last_ = base::Point{x, y};
    } else if (moving_) {
        // Whole cells: the travel in cells, rounded half away from zero.
        const int dc = static_cast<int>(std::lround(static_cast<float>(x - press_.x) / kBlockSize));
        const int dr = static_cast<int>(std::lround(static_cast<float>(y - press_.y) / kBlockSize));
        cells_.clear();
        for (const MosaicCell& c : cellsAtPress_) cells_.insert(MosaicCell{c.column + dc, c.row + dr});
        const int dx = dc * kBlockSize, dy = dr * kBlockSize;
        bounds_ = base::Rect{boundsAtPress_.left + dx, boundsAtPress_.top + dy, boundsAtPress_.right + dx,
                             boundsAtPress_.bottom + dy};
    }
}

void CShapeMosaic::OnMouseUp() {
    drawing_ = false;
    if (moving_) {
        moving_ = false;
        cellsAtPress_.clear();
    }
}

std::optional<CursorKind> CShapeMosaic::CursorAt(int x, int y) const {
    if (moving_) return CursorKind::kSizeAll;
    return drawing_ || HitTest(x, y) ? CursorKind::kHand : CursorKind::kArrow;
}

base::Rect CShapeMosaic::Extent() const { return bounds_; }

std::optional<base::Rect> CShapeMosaic::LastStepArea() const {
    if (!drawing_) return std::nullopt;
    return lastStep_;
}

void CShapeMosaic::Draw(ShapePainter& painter) const { painter.Paint(*this); }
