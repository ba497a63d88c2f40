#include "annotation/text_shape_win.h"

#include "annotation/shape_painter.h"

CShapeText::CShapeText(ShapeConfigRegistry& registry, HINSTANCE instance, HWND overlay)
    : registry_(registry), instance_(instance), overlay_(overlay) {
    ReloadConfig();
}

void CShapeText::ReloadConfig() {
    config_ = registry_.Get<TextConfig>();
    config_.textColor = config_.color;
    if (editor_) editor_->SetFont(config_.fontName, config_.fontSize);
}

base::Rect CShapeText::Box() const {
    // While the editor has its host, the box holds the host's client area at the inset.
    if (!editor_ || !editor_->Host() || box_.IsEmpty()) return box_;
    const SIZE client = editor_->HostClientSize();
    return base::Rect{box_.left, box_.top, box_.left + kTextInset + client.cx, box_.top + kTextInset + client.cy};
}

base::Rect CShapeText::Extent() const {
    return base::Inflated(Box(), static_cast<int>(config_.lineWidth) + 2);
}

std::optional<base::CursorKind> CShapeText::CursorAt(int x, int y) const {
    // Only a selected text's box asks for a cursor; elsewhere the overlay's stays.
    if (selected_ && HitTest(x, y)) return base::CursorKind::kSizeAll;
    return std::nullopt;
}

void CShapeText::OnMouseDown(int x, int y) {
    press_ = base::Point{x, y};
    box_ = boxAtPress_ = Box();
    if (HitTest(x, y)) {
        selected_ = moving_ = true;
        if (overlay_) InvalidateRect(overlay_, nullptr, FALSE);
        return;
    }
    if (selected_) {
        selected_ = false;
        if (shown_) Commit();
        if (overlay_) InvalidateRect(overlay_, nullptr, FALSE);
    }
    if (!opening_) Open(x, y);
}

void CShapeText::Commit() {
    shown_ = false;
    text_ = editor_ ? editor_->Text() : std::wstring();
    if (editor_) editor_->Show(false);
}

void CShapeText::Open(int x, int y) {
    if (!box_.IsEmpty()) return;  // an existing box is reopened by a double click only
    opening_ = selected_ = true;
    editor_ = std::make_unique<CTextEditWnd>(instance_, overlay_);
    if (editor_->Build(config_.fontName, config_.fontSize)) {
        const SIZE edit = editor_->EditSize();
        box_ = base::Rect{x, y, x + edit.cx, y + edit.cy};
    }
    opening_ = false;
    PlaceHost();
    if (editor_->Host()) {
        shown_ = true;
        editor_->Show(true);
    }
}

void CShapeText::ReopenEditor() {
    selected_ = true;
    if (editor_ && editor_->Host()) {
        shown_ = true;
        editor_->Show(true);
    }
    PlaceHost();
}

void CShapeText::PlaceHost() {
    if (editor_ && !box_.IsEmpty()) editor_->PlaceAt(POINT{box_.left + kTextInset, box_.top + kTextInset});
}

void CShapeText::OnMouseMove(int x, int y) {
    if (!moving_) return;
    const int dx = x - press_.x, dy = y - press_.y;
    box_ = base::Rect{boxAtPress_.left + dx, boxAtPress_.top + dy, boxAtPress_.right + dx, boxAtPress_.bottom + dy};
    PlaceHost();
}

void CShapeText::Draw(ShapePainter& painter) const { painter.Paint(*this); }
