#include "annotation/shape_logic.h"

#include <algorithm>

#include "annotation/box_shapes.h"
#include "annotation/mosaic_shape.h"
#include "annotation/shape_painter.h"
#include "annotation/stroke_shapes.h"
#include "annotation/toolbar_button.h"

namespace {

// A point no shape can reach: a press there lets the current shape go.
constexpr int kFarAway = -1000000;

bool IsTool(int tool) { return IsAnnotationTool(static_cast<TOOL_BAR_BTN_TYPE>(tool)); }

}  // namespace

using base::Union;

CShapeLogic& CShapeLogic::Instance() {
    static CShapeLogic logic(ShapeConfigRegistry::Instance());
    return logic;
}

CShapeLogic::CShapeLogic(ShapeConfigRegistry& registry) : registry_(registry) {}

CShapeLogic::ShapePtr CShapeLogic::Create(int tool) const {
    switch (tool) {
        case RectangleConfig::kType: return std::make_shared<CShapeRectangle>(registry_);
        case EllipseConfig::kType: return std::make_shared<CShapeEllipse>(registry_);
        case ArrowConfig::kType: return std::make_shared<CShapeArrow>(registry_);
        case LineConfig::kType: return std::make_shared<CShapeLine>(registry_);
        case FreeLineConfig::kType: return std::make_shared<CShapeFreeLine>(registry_);
        case MosaicConfig::kType: return std::make_shared<CShapeMosaic>();
        case TextConfig::kType: return textFactory_ ? textFactory_() : nullptr;
        default: return nullptr;
    }
}

void CShapeLogic::Touch(const ShapePtr& shape) {
    if (shape) dirty_ = Union(dirty_, shape->Extent());
}

CShapeLogic::ShapePtr CShapeLogic::TopmostAt(int x, int y) const {
    for (auto it = shapes_.rbegin(); it != shapes_.rend(); ++it) {
        if ((*it)->HitTest(x, y)) return *it;
    }
    return nullptr;
}

void CShapeLogic::Pick(const ShapePtr& shape) {
    shape->StoreConfig();
    activeTool_ = shape->Type();
    if (observer_) observer_->ShapePicked(shape->Type());
}

void CShapeLogic::OnMouseDown(int x, int y) {
    const ShapePtr previous = current_;
    Touch(previous);
    bool mayCreateText = true;
    if (previous) {
        previous->OnMouseDown(x, y);  // a miss deselects it (and commits a text)
        // A press outside the text being edited only ends the editing.
        if (previous->Type() == TextConfig::kType && !previous->HitTest(x, y)) mayCreateText = false;
    }
    current_ = TopmostAt(x, y);
    if (current_) {
        Pick(current_);  // a press on a shape never creates one, whatever the tool
    } else if (activeTool_ != 0 && (activeTool_ != TextConfig::kType || mayCreateText)) {
        current_ = Create(activeTool_);
    }
    if (current_) current_->OnMouseDown(x, y);
    Touch(previous);
    Touch(current_);
}

void CShapeLogic::OnMouseMove(int x, int y) {
    if (current_) {
        const base::Rect before = current_->Extent();
        current_->OnMouseMove(x, y);
        // A stroke being drawn tells what its step added; anything else may have changed whole.
        const std::optional<base::Rect> step = current_->LastStepArea();
        dirty_ = Union(dirty_, step ? *step : Union(before, current_->Extent()));
        cursor_ = current_->CursorAt(x, y);
    }
    // Hovering over another shape shows the cursor of its part under the pointer.
    if (const ShapePtr hovered = shapes_.empty() ? nullptr : TopmostAt(x, y)) {
        if (hovered != current_) cursor_ = hovered->CursorAt(x, y);
    }
}

void CShapeLogic::OnMouseUp() {
    if (!current_) return;
    Touch(current_);
    if (!current_->IsValid()) {
        current_.reset();  // a press without a drag: it never enters the canvas
        return;
    }
    current_->OnMouseUp();
    Touch(current_);
    shapes_.erase(std::remove(shapes_.begin(), shapes_.end(), current_), shapes_.end());
    shapes_.push_back(current_);  // now on top
}

void CShapeLogic::Draw(ShapePainter& painter) const {
    // The current shape once, on top: painted twice, its smoothed edges would blend twice and
    // the screen would differ from the picture.
    for (const ShapePtr& shape : shapes_) {
        if (shape != current_ && painter.Meets(shape->Extent())) shape->Draw(painter);
    }
    if (current_ && painter.Meets(current_->Extent())) current_->Draw(painter);
}

void CShapeLogic::ReloadConfig() {
    if (!current_) return;
    Touch(current_);
    current_->ReloadConfig();
    Touch(current_);
}

base::Rect CShapeLogic::Extent() const {
    base::Rect all;
    for (const ShapePtr& shape : shapes_) all = Union(all, shape->Extent());
    if (current_) all = Union(all, current_->Extent());
    return all;
}

void CShapeLogic::SelectTool(int tool) {
    LetGo();
    const TOOL_BAR_BTN_TYPE active = static_cast<TOOL_BAR_BTN_TYPE>(activeTool_);
    activeTool_ = static_cast<int>(ToggledTool(active, static_cast<TOOL_BAR_BTN_TYPE>(tool)));
}

void CShapeLogic::LetGo() {
    if (!current_) return;
    Touch(current_);
    current_->OnMouseDown(kFarAway, kFarAway);
    Touch(current_);
    current_.reset();
    if (observer_) observer_->CurrentShapeGone();
}

bool CShapeLogic::OnDoubleClick(int x, int y) {
    if (!current_ || current_->Type() != TextConfig::kType || !current_->HitTest(x, y)) return false;
    current_->ReopenEditor();
    Touch(current_);
    return true;
}

void CShapeLogic::DeleteCurrentShape() {
    const auto found = std::find(shapes_.begin(), shapes_.end(), current_);
    if (!current_ || found == shapes_.end()) return;
    Touch(current_);
    shapes_.erase(found);
    current_.reset();
    if (observer_) observer_->CurrentShapeGone();
}

void CShapeLogic::Reset() {
    dirty_ = Union(dirty_, Extent());
    current_.reset();
    shapes_.clear();
    activeTool_ = 0;
    cursor_.reset();
}

std::wstring CShapeLogic::ShapeSummary() const {
    int counts[8] = {};
    for (const ShapePtr& shape : shapes_) {
        const int type = shape->Type();
        if (IsTool(type)) ++counts[type];
    }
    std::wstring summary;
    for (int type = 1; type <= 7; ++type) {
        if (counts[type] > 0) summary += std::wstring(ShapeTypeName(type)) + L"=" + std::to_wstring(counts[type]) + L";";
    }
    return summary;
}

base::Rect CShapeLogic::TakeDirty() {
    const base::Rect dirty = dirty_;
    dirty_ = base::Rect{};
    return dirty;
}

std::optional<base::CursorKind> CShapeLogic::TakeCursor() {
    std::optional<base::CursorKind> cursor = cursor_;
    cursor_.reset();
    return cursor;
}
