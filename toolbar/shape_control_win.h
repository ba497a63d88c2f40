// CShapeControlUI: a preview of one annotation shape (rectangle, circle, arrow, line or freehand
// wave) drawn across the control in its configuration's look. CShapeExampleControlUI adds a
// frame, an inset for the preview and a faint diagonal caption.
#pragma once

#include <vector>

#include "toolbar/control_attributes.h"
#include "ui_toolkit/ui_control.h"

class CShapeControlUI : public DuiLib::CControlUI {
public:
    ~CShapeControlUI() override;

    LPCTSTR GetClass() const override;
    // "ShapeControl" is this control.
    LPVOID GetInterface(LPCTSTR pstrName) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    // Antialiased, only what PaintContent draws: no background, image, text or border of the
    // toolkit's.
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

protected:
    // The control's drawing: here the preview across the whole control.
    virtual void PaintContent(Gdiplus::Graphics& g, HDC hDC);
    // Draws the preview of the shape type inside area on g.
    void PaintPreview(Gdiplus::Graphics& g, const base::Rect& area);

private:
    void PaintArrow(Gdiplus::Graphics& g, const base::Rect& area);
    void PaintWave(Gdiplus::Graphics& g, const base::Rect& area);

    ShapePreviewLook look_;
    // Made on the first paint of a wave and kept, whatever the later size.
    std::vector<base::Point> wave_;
};

class CShapeExampleControlUI : public CShapeControlUI {
public:
    ~CShapeExampleControlUI() override;

    LPCTSTR GetClass() const override;
    // "ShapeExampleControl" and "ShapeControl" are this control.
    LPVOID GetInterface(LPCTSTR pstrName) override;
    // The caption.
    void SetText(LPCTSTR pstrText) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

protected:
    // The frame, the preview inside the inset, then the caption over them.
    void PaintContent(Gdiplus::Graphics& g, HDC hDC) override;

private:
    void PaintCaption(Gdiplus::Graphics& g, HDC hDC);

    ShapeExampleLook example_;
};
