// The arrow's outline: the shaft (a quadrilateral when tapered) and the triangular head, with the
// widths of the taper and the head's proportions. The arrow shape and the toolbar's arrow
// preview both draw from it. Pure code.
#pragma once

#include "annotation/shape_config.h"

// A point in overlay or window pixels, with fractions.
struct FloatPoint {
    float x = 0;
    float y = 0;
    bool operator==(const FloatPoint& o) const { return x == o.x && y == o.y; }
};

// Where the head's base sits on the way back from the tip.
enum class ArrowHeadBase {
    // Half a pixel short of the head size, so shaft and head overlap and no seam shows between
    // them; a head on every arrow of a pixel or more (the shape on the overlay).
    kOverlapping,
    // A whole head size back, and no head on an arrow no longer than its head (the preview).
    kAtHeadSize,
};

struct ArrowOutline {
    FloatPoint shaftEnd;  // the head's base centre, or the tip without a head
    FloatPoint quad[4];   // the tapered shaft: start right, start left, end left, end right
    bool hasQuad = false;  // false when the shaft is shorter than a pixel
    FloatPoint head[3];   // the tip, then the base's two corners; all at the tip without a head
    bool hasHead = false;
};

// The outline of the arrow from start to end (the tip). With the taper towards the head, the
// shaft is 0.5 line widths wide at the start and 1.8 at the head; the other way round without.
// The head's base is 0.85 head sizes wide.
ArrowOutline ArrowGeometry(FloatPoint start, FloatPoint end, const ArrowConfig& config,
                           ArrowHeadBase base = ArrowHeadBase::kOverlapping);

// The shaft's width at its wide end, in pixels: what the shaft adds around its centre line at
// most (twice over: half of it on each side).
float ArrowWideShaftWidth(const ArrowConfig& config);
