// What the capture overlay asks of the annotations: pointer input inside the selection, drawing
// over the frozen screen and onto the output picture, what changed on screen, whether a tool or
// shapes exist (which stops moving the selection), the tool the toolbar chose, deleting the
// selected shape, a summary of the shapes for the usage events and the registry of the tools'
// look that the toolbar's attribute bar edits. The annotations own the active tool: the toolbar
// only shows it. CaptureShapes (capture_shapes_win.h) is the real one, on the shape logic;
// NoAnnotations keeps the chosen tool and draws nothing, for tests of the capture alone.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "annotation/shape_config.h"
#include "annotation/toolbar_button.h"

class ICaptureAnnotations {
public:
    virtual ~ICaptureAnnotations() = default;
    virtual void SetOverlayWindow(HWND overlay) = 0;
    // The toolbar window, which hears when a shape is picked (and shows its tool) or deleted.
    virtual void SetToolbarWindow(HWND toolbar) = 0;
    virtual void OnMouseDown(POINT client) = 0;
    virtual void OnMouseMove(POINT client) = 0;
    virtual void OnMouseUp(POINT client) = 0;
    // True when a double click opened a text's editor again.
    virtual bool OnDoubleClick(POINT client) = 0;
    // Draws the shapes inside clip (device pixels of dc), shifted by origin; editing adds what
    // only the overlay shows (the picked shape's handles), never wanted in the output.
    virtual void Draw(HDC dc, const RECT& clip, POINT origin, bool editing) = 0;
    // Everything the shapes may paint, in overlay client coordinates (empty without shapes).
    virtual RECT Extent() const = 0;
    // What changed on screen since the last call.
    virtual RECT TakeDirty() = 0;
    virtual TOOL_BAR_BTN_TYPE ActiveTool() const = 0;
    virtual bool IsEmpty() const = 0;
    virtual bool HasCurrentShape() const = 0;
    // A tool button (1 to 7): the selected shape is let go; the tool becomes active, or none
    // when it already was.
    virtual void SelectTool(TOOL_BAR_BTN_TYPE tool) = 0;
    // The attribute bar changed the look of the active tool: the selected shape takes it.
    virtual void ReloadConfig() = 0;
    virtual void DeleteCurrentShape() = 0;
    // Before the picture is taken: a text being typed is committed, the selected shape let go.
    virtual void CommitEditing() = 0;
    // For each shape type present: its name, "=", its count and ";". Empty without shapes.
    virtual std::wstring ShapeSummary() const = 0;
    virtual void Reset() = 0;
    // The look of each tool, as the shapes take it.
    virtual ShapeConfigRegistry& Registry() = 0;
};

class NoAnnotations : public ICaptureAnnotations {
public:
    void SetOverlayWindow(HWND) override {}
    void SetToolbarWindow(HWND) override {}
    void OnMouseDown(POINT) override {}
    void OnMouseMove(POINT) override {}
    void OnMouseUp(POINT) override {}
    bool OnDoubleClick(POINT) override { return false; }
    void Draw(HDC, const RECT&, POINT, bool) override {}
    RECT Extent() const override { return RECT{}; }
    RECT TakeDirty() override { return RECT{}; }
    TOOL_BAR_BTN_TYPE ActiveTool() const override { return activeTool_; }
    bool IsEmpty() const override { return true; }
    bool HasCurrentShape() const override { return false; }
    void SelectTool(TOOL_BAR_BTN_TYPE tool) override { activeTool_ = ToggledTool(activeTool_, tool); }
    void ReloadConfig() override {}
    void DeleteCurrentShape() override {}
    void CommitEditing() override {}
    std::wstring ShapeSummary() const override { return std::wstring(); }
    void Reset() override { activeTool_ = TOOL_BAR_BTN_TYPE::kNone; }
    ShapeConfigRegistry& Registry() override { return registry_; }

private:
    ShapeConfigRegistry registry_;
    // Read by tests from another thread than the capture's.
    std::atomic<TOOL_BAR_BTN_TYPE> activeTool_{TOOL_BAR_BTN_TYPE::kNone};
};
