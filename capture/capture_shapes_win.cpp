#include "capture/capture_shapes_win.h"

#include "annotation/shape_painter_win.h"
#include "annotation/text_shape_win.h"
#include "base/app_messages.h"
#include "base/cursor_kind_win.h"
#include "base/geometry_win.h"

CaptureShapes::CaptureShapes(CShapeLogic& logic) : logic_(logic) { logic_.SetObserver(this); }

CaptureShapes::~CaptureShapes() {
    logic_.SetObserver(nullptr);
    logic_.SetTextFactory(nullptr);
}

void CaptureShapes::SetOverlayWindow(HWND overlay) {
    overlay_ = overlay;
    logic_.SetTextFactory([this]() -> CShapeLogic::ShapePtr {
        return std::make_shared<CShapeText>(logic_.Registry(), GetModuleHandleW(nullptr), overlay_);
    });
}

void CaptureShapes::OnMouseMove(POINT client) {
    logic_.OnMouseMove(client.x, client.y);
    if (const auto cursor = logic_.TakeCursor()) base::ShowCursorKind(*cursor);
}

void CaptureShapes::Draw(HDC dc, const RECT& clip, POINT origin, bool editing) {
    if (logic_.IsEmpty() && !logic_.CurrentShape()) return;
    GdiplusShapePainter painter(dc, clip, origin, editing);
    logic_.Draw(painter);
}

RECT CaptureShapes::Extent() const { return base::ToRECT(logic_.Extent()); }

RECT CaptureShapes::TakeDirty() { return base::ToRECT(logic_.TakeDirty()); }

void CaptureShapes::ShapePicked(int type) {
    if (toolbar_) PostMessageW(toolbar_, WM_TOOLBAR_SELECT_TOOL, static_cast<WPARAM>(type), 0);
}

void CaptureShapes::CurrentShapeGone() {
    if (toolbar_) PostMessageW(toolbar_, WM_TOOLBAR_SHAPE_SELECTED, 0, 0);
}
