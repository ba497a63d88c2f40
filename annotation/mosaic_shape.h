// CShapeMosaic: grey blocks that hide parts of the picture. Every 10 x 10 cell of the overlay's
// grid (counted from the window's origin, not the selection's) that the pointer passes over is
// covered by a flat block with a darker outline; nothing of the picture shows through. A
// mosaic is painted in one stroke and afterwards only moves, in whole cells.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_set>

#include "annotation/shape_base.h"

struct MosaicCell {
    int column = 0;
    int row = 0;
    bool operator==(const MosaicCell& o) const { return column == o.column && row == o.row; }
};

struct MosaicCellHash {
    size_t operator()(const MosaicCell& c) const {
        return std::hash<int>()(c.column) ^ (std::hash<int>()(c.row) << 1);
    }
};

using MosaicCells = std::unordered_set<MosaicCell, MosaicCellHash>;

class CShapeMosaic : public CShapeBase {
public:
    static constexpr int kBlockSize = 10;
    static constexpr uint32_t kBlockColor = 0x787878;    // 0x00BBGGRR
    static constexpr uint32_t kOutlineColor = 0x505050;  // 0x00BBGGRR

    void OnMouseDown(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    void OnMouseUp() override;
    void Draw(ShapePainter& painter) const override;
    bool HitTest(int x, int y) const override { return cells_.count(CellAt(x, y)) != 0; }
    bool IsValid() const override { return !cells_.empty(); }
    void ReloadConfig() override {}  // the blocks look the same with any attribute
    int Type() const override { return 6; }
    std::optional<base::CursorKind> CursorAt(int x, int y) const override;
    base::Rect Extent() const override;
    std::optional<base::Rect> LastStepArea() const override;
    void StoreConfig() const override {}

    const MosaicCells& Cells() const { return cells_; }
    static MosaicCell CellAt(int x, int y) { return MosaicCell{x / kBlockSize, y / kBlockSize}; }
    static base::Rect CellRect(const MosaicCell& c) {
        return base::Rect{c.column * kBlockSize, c.row * kBlockSize, (c.column + 1) * kBlockSize, (c.row + 1) * kBlockSize};
    }

private:
    // Adds the cell of every pixel step along the stroke; returns the area of the cells added.
    base::Rect AddStroke(int x0, int y0, int x1, int y1);

    MosaicCells cells_;
    MosaicCells cellsAtPress_;
    // The cells' bounds, kept as they change: the paint path asks for them at every step.
    base::Rect bounds_;
    base::Rect boundsAtPress_;
    base::Point last_;
    base::Point press_;
    base::Rect lastStep_;
    bool drawing_ = false;
    bool moving_ = false;
};
