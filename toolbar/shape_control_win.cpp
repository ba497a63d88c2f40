#include "toolbar/shape_control_win.h"

#include <objidl.h>
#include <gdiplus.h>

#include "base/font_face.h"
#include "base/geometry_win.h"
#include "toolbar/control_geometry.h"
#include "ui_toolkit/ui_render.h"

namespace {

// The canvas is shared by the whole window's paint: a control's smoothing and rotation end with
// its own paint.
class SavedGraphicsState {
public:
    explicit SavedGraphicsState(Gdiplus::Graphics& g) : g_(g), state_(g.Save()) {}
    ~SavedGraphicsState() { g_.Restore(state_); }
    SavedGraphicsState(const SavedGraphicsState&) = delete;
    SavedGraphicsState& operator=(const SavedGraphicsState&) = delete;

private:
    Gdiplus::Graphics& g_;
    Gdiplus::GraphicsState state_;
};

// A pen in a configuration's colour, width and dash style.
class ConfigPen : public Gdiplus::Pen {
public:
    explicit ConfigPen(const ShapeConfig& config) : Pen(Gdiplus::Color(config.color), config.lineWidth) {
        SetDashStyle(static_cast<Gdiplus::DashStyle>(DashStyleOf(config.lineStyle)));
    }
    void RoundEnds() {
        SetStartCap(Gdiplus::LineCapRound);
        SetEndCap(Gdiplus::LineCapRound);
    }
};

Gdiplus::RectF ToRectF(const FloatBox& box) { return Gdiplus::RectF(box.x, box.y, box.width, box.height); }
Gdiplus::PointF ToPointF(const FloatPoint& p) { return Gdiplus::PointF(p.x, p.y); }

bool Meets(const RECT& a, const RECT& b) {
    RECT overlap;
    return IntersectRect(&overlap, &a, &b) != FALSE;
}

}  // namespace

// ---- CShapeControlUI -----------------------------------------------------------------------

CShapeControlUI::~CShapeControlUI() = default;

LPCTSTR CShapeControlUI::GetClass() const { return L"ShapeControlUI"; }

LPVOID CShapeControlUI::GetInterface(LPCTSTR pstrName) {
    if (lstrcmpW(pstrName, L"ShapeControl") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

void CShapeControlUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    switch (ApplyShapeAttribute(look_, pstrName, pstrValue)) {
        case AttributeEffect::kNotMine: CControlUI::SetAttribute(pstrName, pstrValue); break;
        case AttributeEffect::kRepaint: Invalidate(); break;
        default: break;
    }
}

void CShapeControlUI::DoPaint(HDC hDC, const RECT& rcPaint) {
    Gdiplus::Graphics* g = Canvas(hDC);
    if (!g || !Meets(rcPaint, m_rcItem)) return;
    SavedGraphicsState saved(*g);
    g->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    PaintContent(*g, hDC);
}

void CShapeControlUI::PaintContent(Gdiplus::Graphics& g, HDC /*hDC*/) { PaintPreview(g, base::FromRECT(m_rcItem)); }

void CShapeControlUI::PaintPreview(Gdiplus::Graphics& g, const base::Rect& area) {
    switch (look_.shapeType) {
        case RectangleConfig::kType: {
            ConfigPen pen(look_.rectangle);
            const FloatBox box = PenInsideBox(area, look_.rectangle.lineWidth);
            if (!box.IsEmpty()) g.DrawRectangle(&pen, ToRectF(box));
            break;
        }
        case EllipseConfig::kType: {
            ConfigPen pen(look_.ellipse);
            const FloatBox box = CirclePreviewBox(area, look_.ellipse.lineWidth);
            if (!box.IsEmpty()) g.DrawEllipse(&pen, ToRectF(box));
            break;
        }
        case ArrowConfig::kType: PaintArrow(g, area); break;
        case LineConfig::kType: {
            ConfigPen pen(look_.line);
            pen.RoundEnds();
            pen.SetLineJoin(Gdiplus::LineJoinRound);
            g.DrawLine(&pen, area.left, area.top, area.right, area.bottom);
            break;
        }
        case FreeLineConfig::kType: PaintWave(g, area); break;
        default: break;  // no preview for the mosaic, the text or no type
    }
}

void CShapeControlUI::PaintArrow(Gdiplus::Graphics& g, const base::Rect& area) {
    const ArrowConfig& arrow = look_.arrow;
    const ArrowPreview preview = LayOutArrowPreview(area, arrow);
    if (!preview.drawn) return;
    if (arrow.taper) {
        Gdiplus::SolidBrush fill{Gdiplus::Color(arrow.color)};
        Gdiplus::PointF corners[4];
        for (int i = 0; i < 4; ++i) corners[i] = ToPointF(preview.shaft[i]);
        g.FillPolygon(&fill, corners, 4);
    } else {
        ConfigPen pen(arrow);
        pen.RoundEnds();
        g.DrawLine(&pen, ToPointF(preview.start), ToPointF(preview.shaftEnd));
    }
    if (!preview.hasHead) return;
    Gdiplus::SolidBrush headFill{Gdiplus::Color(arrow.fillHead ? arrow.color : 0xFFFFFFFFu)};
    const Gdiplus::PointF head[3] = {ToPointF(preview.head[0]), ToPointF(preview.head[1]), ToPointF(preview.head[2])};
    g.FillPolygon(&headFill, head, 3);
}

void CShapeControlUI::PaintWave(Gdiplus::Graphics& g, const base::Rect& area) {
    if (wave_.empty()) wave_ = FreehandWave(area);
    if (wave_.size() < 2) return;
    g.SetSmoothingMode(look_.freeLine.antialias ? Gdiplus::SmoothingModeAntiAlias : Gdiplus::SmoothingModeNone);
    std::vector<Gdiplus::Point> points;
    for (const base::Point& p : wave_) points.emplace_back(p.x, p.y);
    ConfigPen pen(look_.freeLine);
    g.DrawLines(&pen, points.data(), static_cast<INT>(points.size()));
}

// ---- CShapeExampleControlUI ----------------------------------------------------------------

CShapeExampleControlUI::~CShapeExampleControlUI() = default;

LPCTSTR CShapeExampleControlUI::GetClass() const { return L"ShapeExampleControlUI"; }

LPVOID CShapeExampleControlUI::GetInterface(LPCTSTR pstrName) {
    if (lstrcmpW(pstrName, L"ShapeExampleControl") == 0) return this;
    return CShapeControlUI::GetInterface(pstrName);
}

void CShapeExampleControlUI::SetText(LPCTSTR pstrText) {
    m_sText = pstrText;
    Invalidate();
}

void CShapeExampleControlUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    switch (ApplyShapeExampleAttribute(example_, pstrName, pstrValue)) {
        case AttributeEffect::kNotMine: CShapeControlUI::SetAttribute(pstrName, pstrValue); break;
        case AttributeEffect::kCaption: SetText(pstrValue); break;
        default: break;
    }
}

void CShapeExampleControlUI::PaintContent(Gdiplus::Graphics& g, HDC hDC) {
    const base::Rect control = base::FromRECT(m_rcItem);
    if (example_.borderWidth > 0) {
        Gdiplus::Pen pen(Gdiplus::Color(example_.borderColor), example_.borderWidth);
        pen.SetDashStyle(static_cast<Gdiplus::DashStyle>(example_.borderDash));
        const FloatBox box = PenInsideBox(control, example_.borderWidth);
        if (!box.IsEmpty()) g.DrawRectangle(&pen, ToRectF(box));
    }
    PaintPreview(g, InsetBy(control, example_.inset));
    if (!m_sText.IsEmpty()) PaintCaption(g, hDC);
}

void CShapeExampleControlUI::PaintCaption(Gdiplus::Graphics& g, HDC hDC) {
    // Made through GDI so that the system's face substitutions apply to the program's face.
    LOGFONTW face{};
    face.lfHeight = -24;
    face.lfWeight = FW_BOLD;
    face.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(face.lfFaceName, kUiFontFace, LF_FACESIZE);
    Gdiplus::Font font(hDC, &face);
    // A watermark: faint grey, centred, turned 45 degrees about the control's centre.
    const Gdiplus::REAL cx = (m_rcItem.left + m_rcItem.right) / 2.0f;
    const Gdiplus::REAL cy = (m_rcItem.top + m_rcItem.bottom) / 2.0f;
    SavedGraphicsState saved(g);
    g.TranslateTransform(cx, cy);
    g.RotateTransform(45);
    g.TranslateTransform(-cx, -cy);
    DuiLib::DrawText(g, m_sText, m_rcItem, 0x22AAAAAA, &font, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
