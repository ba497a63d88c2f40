#include "toolbar/control_geometry.h"

#include <algorithm>
#include <cmath>

ColorBlockPaint LayOutColorBlock(const base::Rect& control, const ColorBlockLook& look, bool selected) {
    ColorBlockPaint paint;
    paint.borderWidth = selected ? look.selectedBorderWidth : look.borderWidth;
    paint.borderColor = selected ? look.selectedBorderColor : look.borderColor;
    if (paint.borderWidth > 0 && (paint.borderColor >> 24) != 0) {
        // Half the pen, rounded, keeps its outer edge inside the control.
        const int h = static_cast<int>(paint.borderWidth * 0.5f + 0.5f);
        const base::Rect border{control.left + h, control.top + h, control.right - h, control.bottom - h};
        if (!border.IsEmpty()) paint.border = border;
    }
    if ((look.blockColor >> 24) != 0) {
        const int p = static_cast<int>(paint.borderWidth) + look.innerPadding;
        const base::Rect block{control.left + p, control.top + p, control.right - p, control.bottom - p};
        if (!block.IsEmpty()) paint.block = block;
        paint.blockColor = look.blockColor;
    }
    return paint;
}

FloatBox PenInsideBox(const base::Rect& area, float penWidth) {
    return FloatBox{area.left + penWidth / 2, area.top + penWidth / 2, area.Width() - penWidth,
                area.Height() - penWidth};
}

FloatBox CirclePreviewBox(const base::Rect& area, float penWidth) {
    const FloatBox inside = PenInsideBox(area, penWidth);
    const float d = std::min(inside.width, inside.height);
    return FloatBox{inside.x + (inside.width - d) / 2, inside.y + (inside.height - d) / 2, d, d};
}

base::Rect InsetBy(const base::Rect& area, const base::Rect& inset) {
    return base::Rect{area.left + inset.left, area.top + inset.top, area.right - inset.right,
                      area.bottom - inset.bottom};
}

ArrowPreview LayOutArrowPreview(const base::Rect& area, const ArrowConfig& arrow) {
    ArrowPreview preview;
    preview.start = FloatPoint{static_cast<float>(area.left), static_cast<float>(area.bottom)};
    preview.tip = FloatPoint{static_cast<float>(area.right), static_cast<float>(area.top)};
    const float dx = preview.tip.x - preview.start.x;
    const float dy = preview.tip.y - preview.start.y;
    if (dx * dx + dy * dy <= 1) return preview;
    preview.drawn = true;
    const ArrowOutline outline = ArrowGeometry(preview.start, preview.tip, arrow, ArrowHeadBase::kAtHeadSize);
    preview.hasHead = outline.hasHead;
    preview.shaftEnd = outline.shaftEnd;
    // The preview goes round the shaft from the start's left corner.
    for (int i = 0; i < 4; ++i) preview.shaft[i] = outline.quad[(i + 1) % 4];
    std::copy(outline.head, outline.head + 3, preview.head);
    return preview;
}

std::vector<base::Point> FreehandWave(const base::Rect& area) {
    constexpr int kSteps = 20;
    constexpr double kPi = 3.14159265358979323846;
    const int middle = area.top + area.Height() / 2;
    std::vector<base::Point> points;
    for (int i = 0; i <= kSteps; ++i) {
        const double t = static_cast<double>(i) / kSteps;
        points.push_back(base::Point{static_cast<int>(area.left + static_cast<double>(area.Width()) * i / kSteps),
                                     static_cast<int>(std::sin(t * 2 * kPi * 2) * 30 + middle)});
    }
    return points;
}
