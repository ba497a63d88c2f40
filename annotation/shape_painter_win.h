// GdiplusShapePainter: draws shapes with GDI+ onto a device context, anti-aliased. Made for one
// paint: the overlay's back buffer (with the selection handles of the picked shape) or the
// output picture (shapes as committed, no handles).
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "annotation/shape_painter.h"

class GdiplusShapePainter : public ShapePainter {
public:
    // Draws inside clip (device pixels of dc); a shape at overlay point p lands at p + origin.
    // editing: draw what only editing shows (selection handles).
    GdiplusShapePainter(HDC dc, const RECT& clip, POINT origin, bool editing);

    bool Meets(const base::Rect& extent) const override;
    void Paint(const CShapeRectangle& shape) override;
    void Paint(const CShapeEllipse& shape) override;
    void Paint(const CShapeArrow& shape) override;
    void Paint(const CShapeLine& shape) override;
    void Paint(const CShapeFreeLine& shape) override;
    // Plain GDI: a block and its outline per cell, with the DC's own brush and pen.
    void Paint(const CShapeMosaic& shape) override;
    // The editor's lines in plain GDI; the caret and the frame only while editing.
    void Paint(const CShapeText& shape) override;

private:
    HDC dc_;
    POINT origin_;
    Gdiplus::Graphics graphics_;
    base::Rect area_;  // the clip in overlay coordinates
    bool editing_;
};
