// What the capture overlay asks of the annotation shapes: pointer input inside the selection,
// drawing over the frozen screen, and whether a tool or shapes exist (which stops moving the
// selection), the tool the toolbar chose and a summary of the shapes for the usage events. The
// shape logic implements it; until a capture has shapes, NoAnnotations keeps the chosen tool and
// answers "no shapes".
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "annotation/toolbar_button.h"

class ICaptureAnnotations {
public:
    virtual ~ICaptureAnnotations() = default;
    virtual void SetOverlayWindow(HWND overlay) = 0;
    // The toolbar window, which hears when a shape is selected.
    virtual void SetToolbarWindow(HWND toolbar) = 0;
    virtual void OnMouseDown(POINT client) = 0;
    virtual void OnMouseMove(POINT client) = 0;
    virtual void OnMouseUp(POINT client) = 0;
    virtual void Draw(HDC dc) = 0;
    virtual TOOL_BAR_BTN_TYPE ActiveTool() const = 0;
    virtual bool IsEmpty() const = 0;
    virtual bool HasCurrentShape() const = 0;
    // Makes tool (1 to 7) the active tool; choosing the active tool again drops it (no tool).
    virtual void SelectTool(TOOL_BAR_BTN_TYPE tool) = 0;
    // For each shape type present: its name, "=", its count and ";". Empty without shapes.
    virtual std::wstring ShapeSummary() const = 0;
    virtual void Reset() = 0;
};

class NoAnnotations : public ICaptureAnnotations {
public:
    void SetOverlayWindow(HWND) override {}
    void SetToolbarWindow(HWND) override {}
    void OnMouseDown(POINT) override {}
    void OnMouseMove(POINT) override {}
    void OnMouseUp(POINT) override {}
    void Draw(HDC) override {}
    TOOL_BAR_BTN_TYPE ActiveTool() const override { return activeTool_; }
    bool IsEmpty() const override { return true; }
    bool HasCurrentShape() const override { return false; }
    void SelectTool(TOOL_BAR_BTN_TYPE tool) override {
        activeTool_ = !IsAnnotationTool(tool) || tool == activeTool_ ? TOOL_BAR_BTN_TYPE::kNone : tool;
    }
    std::wstring ShapeSummary() const override { return std::wstring(); }
    void Reset() override { activeTool_ = TOOL_BAR_BTN_TYPE::kNone; }

private:
    // Read by tests from another thread than the capture's.
    std::atomic<TOOL_BAR_BTN_TYPE> activeTool_{TOOL_BAR_BTN_TYPE::kNone};
};
