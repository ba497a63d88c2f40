// CaptureShapes: the capture's annotations on the shape logic. It hands the overlay's input to
// the shape logic, shows the cursor a shape asks for, draws the shapes with GDI+ and tells the
// toolbar window when a shape is picked (the tool the logic made active, to show:
// WM_TOOLBAR_SELECT_TOOL) or gone (WM_TOOLBAR_SHAPE_SELECTED with 0). Runs on the capture
// thread.
#pragma once

#include "annotation/shape_logic.h"
#include "capture/capture_annotations.h"

class CaptureShapes : public ICaptureAnnotations, private ShapeLogicObserver {
public:
    explicit CaptureShapes(CShapeLogic& logic);
    ~CaptureShapes() override;
    CaptureShapes(const CaptureShapes&) = delete;
    CaptureShapes& operator=(const CaptureShapes&) = delete;

    // Text shapes are typed in editors owned by the overlay.
    void SetOverlayWindow(HWND overlay) override;
    void SetToolbarWindow(HWND toolbar) override { toolbar_ = toolbar; }
    void OnMouseDown(POINT client) override { logic_.OnMouseDown(client.x, client.y); }
    void OnMouseMove(POINT client) override;
    void OnMouseUp(POINT) override { logic_.OnMouseUp(); }
    bool OnDoubleClick(POINT client) override { return logic_.OnDoubleClick(client.x, client.y); }
    void Draw(HDC dc, const RECT& clip, POINT origin, bool editing) override;
    RECT Extent() const override;
    RECT TakeDirty() override;
    TOOL_BAR_BTN_TYPE ActiveTool() const override { return static_cast<TOOL_BAR_BTN_TYPE>(logic_.ActiveTool()); }
    bool IsEmpty() const override { return logic_.IsEmpty(); }
    bool HasCurrentShape() const override { return logic_.CurrentShape() != nullptr; }
    void SelectTool(TOOL_BAR_BTN_TYPE tool) override { logic_.SelectTool(static_cast<int>(tool)); }
    void ReloadConfig() override { logic_.ReloadConfig(); }
    void DeleteCurrentShape() override { logic_.DeleteCurrentShape(); }
    void CommitEditing() override { logic_.LetGo(); }
    std::wstring ShapeSummary() const override { return logic_.ShapeSummary(); }
    void Reset() override { logic_.Reset(); }
    ShapeConfigRegistry& Registry() override { return logic_.Registry(); }

    CShapeLogic& Logic() { return logic_; }

private:
    void ShapePicked(int type) override;
    void CurrentShapeGone() override;

    CShapeLogic& logic_;
    HWND overlay_ = nullptr;
    HWND toolbar_ = nullptr;
};
