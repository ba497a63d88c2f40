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

namespace {

FloatPoint Along(FloatPoint from, FloatPoint direction, float distance) {
    return FloatPoint{from.x + direction.x * distance, from.y + direction.y * distance};
}

}  // namespace

ArrowPreview LayOutArrowPreview(const base::Rect& area, const ArrowConfig& arrow) {
    ArrowPreview preview;
    preview.start = FloatPoint{static_cast<float>(area.left), static_cast<float>(area.bottom)};
    preview.tip = FloatPoint{static_cast<float>(area.right), static_cast<float>(area.top)};
    const float dx = preview.tip.x - preview.start.x;
    const float dy = preview.tip.y - preview.start.y;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length <= 1) return preview;
    preview.drawn = true;
    const FloatPoint along{dx / length, dy / length};
    const FloatPoint across{-along.y, along.x};
    preview.hasHead = length > arrow.headSize;
    preview.shaftEnd = preview.hasHead ? Along(preview.tip, along, -arrow.headSize) : preview.tip;

    const float narrow = 0.5f * arrow.lineWidth / 2;
    const float wide = 1.8f * arrow.lineWidth / 2;
    const float atStart = arrow.taperTowardsHead ? narrow : wide;
    const float atEnd = arrow.taperTowardsHead ? wide : narrow;
    preview.shaft[0] = Along(preview.start, across, atStart);
    preview.shaft[1] = Along(preview.shaftEnd, across, atEnd);
    preview.shaft[2] = Along(preview.shaftEnd, across, -atEnd);
    preview.shaft[3] = Along(preview.start, across, -atStart);

    const float halfBase = 0.85f * arrow.headSize / 2;
    preview.head[0] = preview.tip;
    preview.head[1] = Along(preview.shaftEnd, across, halfBase);
    preview.head[2] = Along(preview.shaftEnd, across, -halfBase);
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
