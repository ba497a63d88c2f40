// Where a container puts its children: the pure arithmetic of stacked, horizontal and vertical
// layouts. Fixed sizes are kept; children without a fixed size along the layout's direction
// share the space that remains equally (the last one takes the rounding rest); padding surrounds
// each child, inset shrinks the container's content area and childpadding separates neighbours.
#pragma once

#include <vector>

#include "base/geometry.h"

namespace DuiLib {

enum class BoxKind { kStack, kHorizontal, kVertical };

struct BoxChild {
    bool floating = false;
    base::Rect floatPos;       // for floating children: relative to the container's top-left
    int fixedWidth = 0;    // 0: take the available width
    int fixedHeight = 0;   // 0: take the available height
    base::Rect padding;        // space kept around the child, per side
};

// One rectangle per child, in the same order.
std::vector<base::Rect> LayoutChildren(BoxKind kind, const base::Rect& rect, const base::Rect& inset,
                                   int childPadding, const std::vector<BoxChild>& children);

}  // namespace DuiLib
