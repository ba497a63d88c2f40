// What the capture overlay asks of the annotation shapes: pointer input inside the selection,
// drawing over the frozen screen, and whether a tool or shapes exist (which stops moving the
// selection). The shape logic implements it; until a capture has shapes, NoAnnotations answers
// "no tool, no shapes".
#pragma once

#include <windows.h>

#include "annotation/toolbar_button.h"

class ICaptureAnnotations {
public:
    virtual ~ICaptureAnnotations() = default;
    virtual void SetOverlayWindow(HWND overlay) = 0;
    virtual void OnMouseDown(POINT client) = 0;
    virtual void OnMouseMove(POINT client) = 0;
    virtual void OnMouseUp(POINT client) = 0;
    virtual void Draw(HDC dc) = 0;
    virtual TOOL_BAR_BTN_TYPE ActiveTool() const = 0;
    virtual bool IsEmpty() const = 0;
    virtual bool HasCurrentShape() const = 0;
    virtual void Reset() = 0;
};

class NoAnnotations : public ICaptureAnnotations {
public:
    void SetOverlayWindow(HWND) override {}
    void OnMouseDown(POINT) override {}
    void OnMouseMove(POINT) override {}
    void OnMouseUp(POINT) override {}
    void Draw(HDC) override {}
    TOOL_BAR_BTN_TYPE ActiveTool() const override { return TOOL_BAR_BTN_TYPE::kNone; }
    bool IsEmpty() const override { return true; }
    bool HasCurrentShape() const override { return false; }
    void Reset() override {}
};
