// The two box shapes, CShapeRectangle and CShapeEllipse: a box dragged out from a press, picked
// by its outline, moved by its body and resized by its edges and corners. They differ in what
// grabs them and in how a resize follows the pointer.
#pragma once

#include "annotation/shape_base.h"
#include "annotation/shape_config.h"

// Hit codes: edge bits, corners as sums of two edges, the body, or a miss.
enum BoxHit : int {
    kBoxMiss = 0,
    kBoxLeft = 1,
    kBoxRight = 2,
    kBoxTop = 4,
    kBoxBottom = 8,
    kBoxBody = 16,
};

struct ShapeBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ShapeBox& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

// The cursor of a box hit code.
base::CursorKind BoxHitCursor(int code);

class CBoxShape : public CShapeBase {
public:
    void OnMouseDown(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    void OnMouseUp() override;
    bool HitTest(int x, int y) const override { return HitCode(x, y) != kBoxMiss; }
    std::optional<base::CursorKind> CursorAt(int x, int y) const override { return BoxHitCursor(HitCode(x, y)); }
    base::Rect Extent() const override;

    virtual int HitCode(int x, int y) const = 0;
    virtual const BoxConfig& Config() const = 0;

    const ShapeBox& Box() const { return box_; }
    bool Selected() const { return selected_; }
    bool Creating() const { return creating_; }
    // The handle centres, in painting order: corners, then top, bottom, left and right middles.
    void HandleCentres(base::Point out[8]) const;

protected:
    explicit CBoxShape(ShapeConfigRegistry& registry) : registry_(registry) {}
    // Whether a press that misses starts drawing the box anew.
    virtual bool MissStartsCreating() const = 0;
    // The box while an edge or corner is dragged to (x, y).
    virtual ShapeBox Resized(int x, int y) const = 0;
    // Corners of the box within tolerance e; kBoxMiss elsewhere.
    int CornerCode(int px, int py, int e) const;

    ShapeConfigRegistry& registry_;
    ShapeBox box_;
    ShapeBox pressBox_;
    int pressX_ = 0;
    int pressY_ = 0;
    int hitCode_ = kBoxMiss;
    bool moving_ = false;
    bool resizing_ = false;
    bool selected_ = false;
    bool creating_ = false;
};

class CShapeRectangle : public CBoxShape {
public:
    explicit CShapeRectangle(ShapeConfigRegistry& registry);
    void Draw(ShapePainter& painter) const override;
    bool IsValid() const override { return box_.width > 0 && box_.height > 0; }
    void ReloadConfig() override;
    int Type() const override { return RectangleConfig::kType; }
    void StoreConfig() const override;
    int HitCode(int x, int y) const override;
    const BoxConfig& Config() const override { return config_; }

private:
    bool MissStartsCreating() const override { return box_.width <= 0 || box_.height <= 0 || creating_; }
    ShapeBox Resized(int x, int y) const override;

    RectangleConfig config_;
};

class CShapeEllipse : public CBoxShape {
public:
    explicit CShapeEllipse(ShapeConfigRegistry& registry);
    void Draw(ShapePainter& painter) const override;
    bool IsValid() const override { return box_.width > 0 && box_.height > 0; }
    void ReloadConfig() override;
    int Type() const override { return EllipseConfig::kType; }
    void StoreConfig() const override;
    int HitCode(int x, int y) const override;
    const BoxConfig& Config() const override { return config_; }

private:
    bool MissStartsCreating() const override { return box_.width == 0 && box_.height == 0; }
    ShapeBox Resized(int x, int y) const override;

    EllipseConfig config_;
};

// Whether (px, py) lies within reach of the outline of the ellipse inscribed in the box.
bool NearEllipseOutline(const ShapeBox& box, double px, double py, double reach);
