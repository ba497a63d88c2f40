// CShapeBase: an annotation on the capture overlay. The shape logic forwards it the overlay's
// presses, moves and releases (overlay client coordinates), asks whether a point grabs it and
// has it paint itself. Shapes are pure code: a ShapePainter (shape_painter.h) draws them, and
// the cursor a shape wants is a CursorKind the overlay shows.
#pragma once

#include <optional>

#include "base/cursor_kind.h"
#include "base/geometry.h"

class ShapePainter;
class ShapeConfigRegistry;

class CShapeBase {
public:
    virtual ~CShapeBase() = default;

    virtual void OnMouseDown(int x, int y) = 0;
    virtual void OnMouseMove(int x, int y) = 0;
    virtual void OnMouseUp() = 0;
    virtual void Draw(ShapePainter& painter) const = 0;
    // True when a press at the point grabs the shape.
    virtual bool HitTest(int x, int y) const = 0;
    // True when the shape has content worth keeping.
    virtual bool IsValid() const = 0;
    // Takes the whole configuration of the shape's type from its registry.
    virtual void ReloadConfig() = 0;

    // The shape type number (1 rectangle … 7 text; 0 for anything that is not a shape).
    virtual int Type() const = 0;
    // The cursor the pointer at (x, y) shows over this shape; none when the shape leaves the
    // cursor as the overlay set it.
    virtual std::optional<base::CursorKind> CursorAt(int x, int y) const = 0;
    // Every pixel Draw may touch, selected or not: pen width, handles and smoothing included.
    virtual base::Rect Extent() const = 0;
    // Copies the shape's configuration into its type's registry entry (a picked shape shows its
    // look in the attribute bar).
    virtual void StoreConfig() const = 0;
    // What the last move changed on screen when that is less than the shape before and after it
    // (a stroke being drawn only grows at its end); none when the whole shape may have changed.
    virtual std::optional<base::Rect> LastStepArea() const { return std::nullopt; }
    // A double click inside the shape opens its editor again (text only).
    virtual void ReopenEditor() {}
};
