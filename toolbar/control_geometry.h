// Where the toolbar's custom drawn controls paint, in window pixels: the colour block's border
// and block, and the shape previews (rectangle, circle, arrow, freehand wave, the example's
// frame). Pure code; the controls hand these figures to GDI+.
#pragma once

#include <cstdint>
#include <vector>

#include "annotation/arrow_geometry.h"
#include "base/geometry.h"
#include "toolbar/control_attributes.h"

// The colour block's two parts; an empty rectangle is not painted.
struct ColorBlockPaint {
    base::Rect border;  // outlined with a pen of borderWidth, centred on its edges
    float borderWidth = 0;
    uint32_t borderColor = 0;
    base::Rect block;  // filled
    uint32_t blockColor = 0;
};

// The selected look's border width and colour stand in for the plain ones while selected. The
// border keeps its pen inside control; the block keeps the inner padding from the border's width.
ColorBlockPaint LayOutColorBlock(const base::Rect& control, const ColorBlockLook& look, bool selected);

struct FloatBox {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
    bool IsEmpty() const { return width <= 0 || height <= 0; }
};

// The outline whose pen of penWidth stays just inside area: the rectangle preview and the example
// control's frame.
FloatBox PenInsideBox(const base::Rect& area, float penWidth);
// The circle preview: the largest circle whose pen stays inside area, centred in it.
FloatBox CirclePreviewBox(const base::Rect& area, float penWidth);
// area with each side moved inwards by the matching amount of inset.
base::Rect InsetBy(const base::Rect& area, const base::Rect& inset);

// The arrow preview from area's bottom-left corner to its top-right one (the tip).
struct ArrowPreview {
    bool drawn = false;     // false when the segment is 1 pixel long or shorter
    FloatPoint start;
    FloatPoint shaftEnd;    // the head's base centre, or the tip when there is no head
    FloatPoint tip;
    FloatPoint shaft[4];    // the tapered shaft's corners, in order around it
    bool hasHead = false;   // only when the segment is longer than the head
    FloatPoint head[3];     // the tip, then the base's two corners
};
ArrowPreview LayOutArrowPreview(const base::Rect& area, const ArrowConfig& arrow);

// The freehand preview: 21 points of two sine periods, 30 pixels high, across area's middle.
std::vector<base::Point> FreehandWave(const base::Rect& area);
