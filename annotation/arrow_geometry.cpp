#include "annotation/arrow_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kNarrowWidth = 0.5f;  // line widths
constexpr float kWideWidth = 1.8f;    // line widths
constexpr float kHeadBase = 0.85f;    // head sizes

FloatPoint Along(FloatPoint from, FloatPoint direction, float distance) {
    return FloatPoint{from.x + direction.x * distance, from.y + direction.y * distance};
}

float Length(float dx, float dy) { return std::sqrt(dx * dx + dy * dy); }

}  // namespace

ArrowOutline ArrowGeometry(FloatPoint start, FloatPoint end, const ArrowConfig& config, ArrowHeadBase base) {
    ArrowOutline out;
    const float length = Length(end.x - start.x, end.y - start.y);
    const bool overlapping = base == ArrowHeadBase::kOverlapping;
    out.hasHead = overlapping ? length >= 1 : length > config.headSize;
    std::fill(out.head, out.head + 3, end);
    out.shaftEnd = end;
    if (out.hasHead) {
        const FloatPoint u{(end.x - start.x) / length, (end.y - start.y) / length};
        const FloatPoint n{-u.y, u.x};
        out.shaftEnd = Along(end, u, -(overlapping ? config.headSize - 0.5f : config.headSize));
        const float h = config.headSize * kHeadBase / 2;
        out.head[1] = Along(out.shaftEnd, n, h);
        out.head[2] = Along(out.shaftEnd, n, -h);
    }
    // The tapered shaft, from the start to the shaft's end.
    const float sx = out.shaftEnd.x - start.x, sy = out.shaftEnd.y - start.y, shaft = Length(sx, sy);
    if (shaft >= 1) {
        const FloatPoint n{-sy / shaft, sx / shaft};
        const float w = config.lineWidth;
        const float tail = (config.taperTowardsHead ? kNarrowWidth : kWideWidth) * w / 2;
        const float head = (config.taperTowardsHead ? kWideWidth : kNarrowWidth) * w / 2;
        out.quad[0] = Along(start, n, -tail);
        out.quad[1] = Along(start, n, tail);
        out.quad[2] = Along(out.shaftEnd, n, head);
        out.quad[3] = Along(out.shaftEnd, n, -head);
        out.hasQuad = true;
    }
    return out;
}

float ArrowWideShaftWidth(const ArrowConfig& config) { return kWideWidth * config.lineWidth; }
