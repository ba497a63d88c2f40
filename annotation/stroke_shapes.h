// The stroke shapes: CShapeArrow (a shaft, tapered or stroked, with a triangular head),
// CShapeLine (a straight segment with round ends) and CShapeFreeLine (a polyline through every
// pointer position). The arrow and the line are picked by either end (which then follows the
// pointer) or by the segment (which moves the whole shape); a freehand line only moves.
#pragma once

#include <vector>

#include "annotation/arrow_geometry.h"
#include "annotation/shape_base.h"
#include "annotation/shape_config.h"

// Hit codes of the arrow and the line.
enum SegmentHit : int { kSegmentMiss = 0, kSegmentStart = 1, kSegmentEnd = 2, kSegmentBody = 4 };

// What the arrow and the line share: the two ends, and pressing, dragging and releasing them.
template <class P, class Config>
class CSegmentShape : public CShapeBase {
public:
    void OnMouseDown(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    void OnMouseUp() override;
    bool HitTest(int x, int y) const override { return HitCode(x, y) != kSegmentMiss; }
    // A shape with both ends at the origin counts as empty.
    bool IsValid() const override { return start_.x != 0 || start_.y != 0 || end_.x != 0 || end_.y != 0; }
    void ReloadConfig() override { config_ = registry_.Get<Config>(); }
    int Type() const override { return Config::kType; }
    void StoreConfig() const override { registry_.Get<Config>() = config_; }

    virtual int HitCode(int x, int y) const = 0;
    const Config& GetConfig() const { return config_; }
    P Start() const { return start_; }
    P End() const { return end_; }
    bool Selected() const { return selected_; }
    bool Creating() const { return creating_; }

protected:
    explicit CSegmentShape(ShapeConfigRegistry& registry) : registry_(registry) { ReloadConfig(); }
    // The end point after a release stretched the shape to the minimum length.
    virtual P Stretched() const = 0;

    ShapeConfigRegistry& registry_;
    Config config_;
    P start_{}, end_{}, pressStart_{}, pressEnd_{}, press_{};
    int hitCode_ = kSegmentMiss;
    bool moving_ = false;
    bool resizing_ = false;
    bool selected_ = false;
    bool creating_ = false;
};

class CShapeArrow : public CSegmentShape<FloatPoint, ArrowConfig> {
public:
    explicit CShapeArrow(ShapeConfigRegistry& registry) : CSegmentShape(registry) {}
    void Draw(ShapePainter& painter) const override;
    std::optional<base::CursorKind> CursorAt(int x, int y) const override;
    base::Rect Extent() const override;
    int HitCode(int x, int y) const override;

private:
    FloatPoint Stretched() const override;
};

class CShapeLine : public CSegmentShape<base::Point, LineConfig> {
public:
    explicit CShapeLine(ShapeConfigRegistry& registry) : CSegmentShape(registry) {}
    void Draw(ShapePainter& painter) const override;
    std::optional<base::CursorKind> CursorAt(int x, int y) const override;
    base::Rect Extent() const override;
    int HitCode(int x, int y) const override;

private:
    base::Point Stretched() const override;
};

class CShapeFreeLine : public CShapeBase {
public:
    explicit CShapeFreeLine(ShapeConfigRegistry& registry) : registry_(registry) { ReloadConfig(); }
    void OnMouseDown(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    void OnMouseUp() override;
    void Draw(ShapePainter& painter) const override;
    bool HitTest(int x, int y) const override;
    bool IsValid() const override { return points_.size() >= 2; }
    void ReloadConfig() override { config_ = registry_.Get<FreeLineConfig>(); }
    int Type() const override { return FreeLineConfig::kType; }
    std::optional<base::CursorKind> CursorAt(int x, int y) const override;
    base::Rect Extent() const override;
    std::optional<base::Rect> LastStepArea() const override;
    void StoreConfig() const override { registry_.Get<FreeLineConfig>() = config_; }

    const std::vector<base::Point>& Points() const { return points_; }
    const FreeLineConfig& GetConfig() const { return config_; }
    // How far from the path the stroke reaches, pen and smoothing included.
    int Reach() const;

private:
    ShapeConfigRegistry& registry_;
    FreeLineConfig config_;
    std::vector<base::Point> points_;
    std::vector<base::Point> pointsAtPress_;
    // The points' bounds, kept as they change: the paint path asks for them at every step.
    base::Rect pathBounds_;
    base::Rect pathBoundsAtPress_;
    base::Point press_;
    bool drawing_ = false;
    bool moving_ = false;
};

// The rectangle holding a and b, inflated by margin.
base::Rect BoundsOf(base::Point a, base::Point b, int margin);
