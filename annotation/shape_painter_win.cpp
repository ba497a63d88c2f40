#include "annotation/shape_painter_win.h"

#include <algorithm>
#include <vector>

#include "annotation/box_shapes.h"
#include "annotation/mosaic_shape.h"
#include "annotation/stroke_shapes.h"
#include "annotation/text_shape_win.h"
#include "base/unique_handle.h"

using namespace Gdiplus;

namespace {

// The outline pen: the shape's colour, line width and dash style.
void StyleStrokePen(Pen& pen, const ShapeConfig& config) {
    pen.SetDashStyle(static_cast<DashStyle>(DashStyleOf(config.lineStyle)));
}

// Handles in the shape's colour.
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
    : dc_(dc),
      origin_(origin),
      graphics_(dc),
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

namespace {

Gdiplus::PointF ToGdiplus(const FloatPoint& p) { return Gdiplus::PointF(p.x, p.y); }

// A filled circle of diameter d centred on c, outlined.
void Disc(Graphics& graphics, Gdiplus::PointF c, float d, const Brush& fill, const Pen& outline) {
    graphics.FillEllipse(&fill, c.X - d / 2, c.Y - d / 2, d, d);
    graphics.DrawEllipse(&outline, c.X - d / 2, c.Y - d / 2, d, d);
}

}  // namespace

void GdiplusShapePainter::Paint(const CShapeArrow& shape) {
    if (!shape.IsValid() && !shape.Creating()) return;
    const ArrowConfig& c = shape.GetConfig();
    const FloatPoint start = shape.Start(), end = shape.End();
    const ArrowOutline arrow = ArrowGeometry(start, end, c);
    SolidBrush colour{Color(c.color)};
    if (shape.IsValid()) {
        if (c.taper) {
            if (arrow.hasQuad) {
                const Gdiplus::PointF quad[4] = {ToGdiplus(arrow.quad[0]), ToGdiplus(arrow.quad[1]),
                                                 ToGdiplus(arrow.quad[2]), ToGdiplus(arrow.quad[3])};
                graphics_.FillPolygon(&colour, quad, 4, FillModeAlternate);
            }
        } else {
            Pen pen(Color(c.color), c.lineWidth);
            pen.SetStartCap(LineCapRound);
            pen.SetEndCap(LineCapRound);
            graphics_.DrawLine(&pen, ToGdiplus(start), ToGdiplus(arrow.shaftEnd));
        }
    }
    const Gdiplus::PointF head[3] = {ToGdiplus(arrow.head[0]), ToGdiplus(arrow.head[1]), ToGdiplus(arrow.head[2])};
    SolidBrush white{Color(0xFFFFFFFF)};
    graphics_.FillPolygon(c.fillHead ? static_cast<Brush*>(&colour) : &white, head, 3, FillModeAlternate);
    if (!editing_ || !(shape.Selected() || shape.Creating())) return;
    const float r = static_cast<float>(c.handleSize), k = r / 2;
    SolidBrush fill{Color(c.handleFill)};
    Pen outline(Color(c.handleOutline), c.handleOutlineWidth);
    Disc(graphics_, ToGdiplus(start), r, fill, outline);
    Disc(graphics_, ToGdiplus(end), r, fill, outline);
    SolidBrush marker{Color(c.handleOutline)};
    const Gdiplus::PointF tip[3] = {{end.x, end.y - k / 2}, {end.x - k / 2, end.y + k / 3}, {end.x + k / 2, end.y + k / 3}};
    graphics_.FillPolygon(&marker, tip, 3, FillModeAlternate);
}

void GdiplusShapePainter::Paint(const CShapeLine& shape) {
    if (!shape.IsValid() && !shape.Creating()) return;
    const LineConfig& c = shape.GetConfig();
    Pen pen(Color(c.color), c.lineWidth);
    pen.SetLineJoin(LineJoinRound);
    pen.SetStartCap(LineCapRound);
    pen.SetEndCap(LineCapRound);
    StyleStrokePen(pen, c);
    const base::Point a = shape.Start(), b = shape.End();
    graphics_.DrawLine(&pen, a.x, a.y, b.x, b.y);
    if (!editing_ || !(shape.Selected() || shape.Creating())) return;
    const float d = static_cast<float>(HandleSize(c));
    SolidBrush fill{Color(c.color)};
    Pen outline(Color(c.color), 1.0f);
    for (const base::Point& p : {a, b}) {
        Disc(graphics_, Gdiplus::PointF(static_cast<REAL>(p.x), static_cast<REAL>(p.y)), d, fill, outline);
    }
}

void GdiplusShapePainter::Paint(const CShapeFreeLine& shape) {
    const std::vector<base::Point>& points = shape.Points();
    if (points.size() < 2) return;
    const FreeLineConfig& c = shape.GetConfig();
    Pen pen(Color(c.color), c.lineWidth);
    StyleStrokePen(pen, c);
    const SmoothingMode smoothing = graphics_.GetSmoothingMode();
    graphics_.SetSmoothingMode(c.antialias ? SmoothingModeAntiAlias : SmoothingModeNone);
    // Only the runs of segments that can reach the painted area are drawn, each with one
    // segment more on either side, so that the joins inside the area are the whole stroke's.
    // A dotted or dashed stroke is drawn whole under the clip: its pattern runs on along the
    // whole path, and a run drawn alone would start it afresh.
    const bool patterned = pen.GetDashStyle() != DashStyleSolid;
    const int reach = shape.Reach();
    std::vector<Gdiplus::Point> run;
    auto flush = [&] {
        if (run.size() >= 2) graphics_.DrawLines(&pen, run.data(), static_cast<INT>(run.size()));
        run.clear();
    };
    const size_t n = points.size();
    auto reaches = [&](size_t i) {
        return i + 1 < n && (patterned || Meets(BoundsOf(points[i], points[i + 1], reach)));
    };
    for (size_t i = 0; i + 1 < n; ++i) {
        const bool wanted = reaches(i) || (i > 0 && reaches(i - 1)) || reaches(i + 1);
        if (!wanted) {
            flush();
            continue;
        }
        if (run.empty()) run.emplace_back(points[i].x, points[i].y);
        run.emplace_back(points[i + 1].x, points[i + 1].y);
    }
    flush();
    graphics_.SetSmoothingMode(smoothing);
}

void GdiplusShapePainter::Paint(const CShapeMosaic& shape) {
    graphics_.Flush(FlushIntentionSync);
    HDC dc = graphics_.GetHDC();
    SelectedObject brush(dc, GetStockObject(DC_BRUSH));
    SelectedObject pen(dc, GetStockObject(DC_PEN));
    SetDCBrushColor(dc, CShapeMosaic::kBlockColor);
    SetDCPenColor(dc, CShapeMosaic::kOutlineColor);
    for (const MosaicCell& cell : shape.Cells()) {
        const base::Rect r = CShapeMosaic::CellRect(cell);
        if (!Meets(r)) continue;
        // The outline over the block, the inside filled with the block's grey.
        Rectangle(dc, r.left + origin_.x, r.top + origin_.y, r.right + origin_.x, r.bottom + origin_.y);
    }
    graphics_.ReleaseHDC(dc);
}

void GdiplusShapePainter::Paint(const CShapeText& shape) {
    const base::Rect box = shape.Box();
    if (box.IsEmpty() && !shape.Opening()) return;
    const TextConfig& c = shape.GetConfig();
    if (const CTextEditWnd* editor = shape.Editor()) {
        // The editor paints in GDI colours: the colour without its alpha.
        const COLORREF colour = RGB((c.color >> 16) & 0xFF, (c.color >> 8) & 0xFF, c.color & 0xFF);
        graphics_.Flush(FlushIntentionSync);
        HDC dc = graphics_.GetHDC();
        const int inset = CShapeText::kTextInset;
        editor->PaintText(dc, box.left + inset + origin_.x, box.top + inset + origin_.y, colour, editing_);
        graphics_.ReleaseHDC(dc);
    }
    if (!editing_ || !(shape.Selected() || shape.Opening()) || c.lineWidth <= 0) return;
    Pen frame(Color(c.color), c.lineWidth);
    graphics_.DrawRectangle(&frame, box.left, box.top, box.Width(), box.Height());
}
