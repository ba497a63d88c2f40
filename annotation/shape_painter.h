// ShapePainter: what draws the shapes. Each shape's Draw hands itself to the painter's overload
// for its class, so the shapes stay pure code and the drawing lives in one place (GDI+ on the
// overlay, shape_painter_win.h).
#pragma once

#include "base/geometry.h"

class CShapeArrow;
class CShapeEllipse;
class CShapeFreeLine;
class CShapeLine;
class CShapeMosaic;
class CShapeRectangle;
class CShapeText;

class ShapePainter {
public:
    virtual ~ShapePainter() = default;
    // False when nothing inside extent (overlay coordinates) can reach what is painted: the
    // shape is skipped.
    virtual bool Meets(const base::Rect& /*extent*/) const { return true; }
    virtual void Paint(const CShapeRectangle& shape) = 0;
    virtual void Paint(const CShapeEllipse& shape) = 0;
    virtual void Paint(const CShapeArrow& shape) = 0;
    virtual void Paint(const CShapeLine& shape) = 0;
    virtual void Paint(const CShapeFreeLine& shape) = 0;
    virtual void Paint(const CShapeMosaic& shape) = 0;
    virtual void Paint(const CShapeText& shape) = 0;
};
