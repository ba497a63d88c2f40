// CShapeLogic: the annotations of the running capture. It turns the overlay's presses, moves
// and releases into shape operations: it creates a shape of the active tool, picks the topmost
// shape under the pointer, keeps one current shape (the one being drawn or last pressed), brings
// it to the front, paints all shapes and deletes the current one. It is itself a shape, driven
// by the overlay like one. Pure code: what the toolbar must hear goes to an observer, and what
// a step changed on screen and the cursor it asks for are collected for the overlay to apply.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "annotation/shape_base.h"
#include "annotation/shape_config.h"

class ShapeLogicObserver {
public:
    virtual ~ShapeLogicObserver() = default;
    // A press picked an existing shape of this type, whose tool is now the active one (the
    // toolbar shows it and its look).
    virtual void ShapePicked(int type) = 0;
    // The current shape went: deleted, or let go by a tool button or before the picture is
    // taken (the toolbar disables its delete button).
    virtual void CurrentShapeGone() = 0;
};

class CShapeLogic : public CShapeBase {
public:
    using ShapePtr = std::shared_ptr<CShapeBase>;

    // The process-wide shape logic, on the process-wide registry.
    static CShapeLogic& Instance();

    explicit CShapeLogic(ShapeConfigRegistry& registry);

    void SetObserver(ShapeLogicObserver* observer) { observer_ = observer; }
    // Makes text shapes (they need the overlay's windows); without it the text tool makes nothing.
    void SetTextFactory(std::function<ShapePtr()> factory) { textFactory_ = std::move(factory); }

    void OnMouseDown(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    void OnMouseUp() override;
    // Paints every other shape in order, then the current shape (once) on top.
    void Draw(ShapePainter& painter) const override;
    bool HitTest(int, int) const override { return false; }
    bool IsValid() const override { return true; }
    // The current shape takes its type's configuration again (the attribute bar changed it).
    void ReloadConfig() override;
    int Type() const override { return 0; }
    std::optional<base::CursorKind> CursorAt(int, int) const override { return base::CursorKind::kArrow; }
    // Everything the shapes may paint.
    base::Rect Extent() const override;
    void StoreConfig() const override {}

    // A tool button: the current shape is let go; the tool becomes active, or none when it
    // already was (or is not a tool, 1 to 7). The logic owns the active tool: the toolbar only
    // shows it.
    void SelectTool(int tool);
    // The current shape is deselected (a text being edited is committed) and let go.
    void LetGo();
    // A double click: inside the current text's box it opens the editor again. True if it did.
    bool OnDoubleClick(int x, int y);
    // Removes the current shape from the canvas; nothing without one.
    void DeleteCurrentShape();
    // The capture ended: no shapes, no current shape, no tool.
    void Reset();
    // For each type present, in type order: its name, "=", its count and ";".
    std::wstring ShapeSummary() const;

    int ActiveTool() const { return activeTool_; }
    ShapeConfigRegistry& Registry() const { return registry_; }
    bool IsEmpty() const { return shapes_.empty(); }
    const ShapePtr& CurrentShape() const { return current_; }
    const std::vector<ShapePtr>& Shapes() const { return shapes_; }
    // The shape painted last among those that a press at (x, y) grabs.
    ShapePtr TopmostAt(int x, int y) const;

    // What changed on screen since the last call (empty when nothing did).
    base::Rect TakeDirty();
    // The cursor the last move asked for, once.
    std::optional<base::CursorKind> TakeCursor();

private:
    ShapePtr Create(int tool) const;
    void Touch(const ShapePtr& shape);
    void Pick(const ShapePtr& shape);

    ShapeConfigRegistry& registry_;
    ShapeLogicObserver* observer_ = nullptr;
    std::function<ShapePtr()> textFactory_;
    int activeTool_ = 0;
    ShapePtr current_;
    std::vector<ShapePtr> shapes_;
    base::Rect dirty_;
    std::optional<base::CursorKind> cursor_;
};
