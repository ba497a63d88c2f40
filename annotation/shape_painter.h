// ShapePainter: what draws the shapes. Each shape's Draw hands itself to the painter's overload
// for its class, so the shapes stay pure code and the drawing lives in one place (GDI+ on the
// overlay, shape_painter_win.h).
#pragma once

class CShapeRectangle;
class CShapeEllipse;

class ShapePainter {
public:
    virtual ~ShapePainter() = default;
    virtual void Paint(const CShapeRectangle& shape) = 0;
    virtual void Paint(const CShapeEllipse& shape) = 0;
};
