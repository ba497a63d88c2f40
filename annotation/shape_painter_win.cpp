#include "annotation/shape_painter_win.h"

#include "annotation/box_shapes.h"

using namespace Gdiplus;

namespace {

// The outline pen: the shape's colour, line width and dash style.
void StyleStrokePen(Pen& pen, const ShapeConfig& config) {
    pen.SetDashStyle(static_cast<DashStyle>(DashStyleOf(config.lineStyle)));
}

// Handles follow the line width, in the shape's colour.
int HandleSize(const ShapeConfig& config) { return static_cast<int>(config.lineWidth + 3); }

void FillHandles(Graphics& graphics, const CBoxShape& shape, const Pen* outline) {
    const int d = HandleSize(shape.Config());
    SolidBrush fill{Color(shape.Config().color)};
    base::Point centres[8];
    shape.HandleCentres(centres);
    for (const base::Point& c : centres) {
        graphics.FillRectangle(&fill, c.x - d / 2, c.y - d / 2, d, d);
        if (outline) graphics.DrawRectangle(outline, c.x - d / 2, c.y - d / 2, d, d);
    }
}

}  // namespace

GdiplusShapePainter::GdiplusShapePainter(HDC dc, const RECT& clip, POINT origin, bool editing)
    : graphics_(dc),
      area_{clip.left - origin.x, clip.top - origin.y, clip.right - origin.x, clip.bottom - origin.y},
      editing_(editing) {
    graphics_.SetClip(Rect(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top));
    graphics_.TranslateTransform(static_cast<REAL>(origin.x), static_cast<REAL>(origin.y));
    graphics_.SetSmoothingMode(SmoothingModeAntiAlias);
}

bool GdiplusShapePainter::Meets(const base::Rect& extent) const { return !base::Intersect(area_, extent).IsEmpty(); }

void GdiplusShapePainter::Paint(const CShapeRectangle& shape) {
    const ShapeBox& box = shape.Box();
    if ((box.width <= 0 || box.height <= 0) && !shape.Creating()) return;
    Pen pen(Color(shape.Config().color), shape.Config().lineWidth);
    StyleStrokePen(pen, shape.Config());
    graphics_.DrawRectangle(&pen, box.x, box.y, box.width, box.height);
    if (editing_ && (shape.Selected() || shape.Creating())) FillHandles(graphics_, shape, nullptr);
}

void GdiplusShapePainter::Paint(const CShapeEllipse& shape) {
    const ShapeBox& box = shape.Box();
    if (box.width == 0 && box.height == 0 && !shape.Creating()) return;
    Pen pen(Color(shape.Config().color), shape.Config().lineWidth);
    StyleStrokePen(pen, shape.Config());
    graphics_.DrawEllipse(&pen, box.x, box.y, box.width, box.height);
    if (!editing_ || !(shape.Selected() || shape.Creating())) return;
    Pen frame(Color(shape.Config().color), 1.5f);
    frame.SetDashStyle(DashStyleDash);
    graphics_.DrawRectangle(&frame, box.x, box.y, box.width, box.height);
    Pen outline(Color(shape.Config().color), shape.Config().handleOutlineWidth);
    FillHandles(graphics_, shape, &outline);
}
