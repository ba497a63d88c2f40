#include "ui_toolkit/box_layout.h"

#include <climits>
#include <cstddef>

namespace DuiLib {

namespace {

// Sizes come from layout attributes and may be as large as int allows: every sum is made in 64
// bits and saturated back into int, so a huge size pushes later children out of view instead of
// wrapping round.
using Wide = long long;

int Sat(Wide value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

base::Rect MakeRect(Wide left, Wide top, Wide right, Wide bottom) {
    return base::Rect{Sat(left), Sat(top), Sat(right), Sat(bottom)};
}

base::Rect FloatingRect(const base::Rect& rect, const BoxChild& child) {
    const base::Rect& p = child.floatPos;
    const Wide w = Wide{p.right} - p.left;
    const Wide h = Wide{p.bottom} - p.top;
    const Wide width = w > 0 ? w : child.fixedWidth;
    const Wide height = h > 0 ? h : child.fixedHeight;
    const Wide left = Wide{rect.left} + p.left;
    const Wide top = Wide{rect.top} + p.top;
    return MakeRect(left, top, left + width, top + height);
}

// Size across the layout direction: fixed, or all that the padding leaves.
Wide CrossSize(int fixed, Wide available, int paddingBefore, int paddingAfter) {
    if (fixed > 0) return fixed;
    const Wide size = available - paddingBefore - paddingAfter;
    return size > 0 ? size : 0;
}

}  // namespace

std::vector<base::Rect> LayoutChildren(BoxKind kind, const base::Rect& rect, const base::Rect& inset,
                                       int childPadding, const std::vector<BoxChild>& children) {
    const Wide contentLeft = Wide{rect.left} + inset.left;
    const Wide contentTop = Wide{rect.top} + inset.top;
    const Wide contentWidth = Wide{rect.right} - inset.right - contentLeft;
    const Wide contentHeight = Wide{rect.bottom} - inset.bottom - contentTop;
    std::vector<base::Rect> result(children.size());
    const bool horizontal = kind == BoxKind::kHorizontal;

    // Space taken along the direction by fixed sizes, paddings and gaps.
    Wide used = 0;
    Wide flexible = 0;
    Wide inFlow = 0;
    for (const BoxChild& child : children) {
        if (child.floating) continue;
        const int fixed = horizontal ? child.fixedWidth : child.fixedHeight;
        used += horizontal ? Wide{child.padding.left} + child.padding.right
                           : Wide{child.padding.top} + child.padding.bottom;
        if (fixed > 0) {
            used += fixed;
        } else {
            ++flexible;
        }
        ++inFlow;
    }
    if (inFlow > 1) used += Wide{childPadding} * (inFlow - 1);
    const Wide length = horizontal ? contentWidth : contentHeight;
    const Wide spare = length - used > 0 ? length - used : 0;
    const Wide share = flexible ? spare / flexible : 0;
    const Wide rest = flexible ? spare - share * flexible : 0;

    Wide cursor = horizontal ? contentLeft : contentTop;
    Wide flexSeen = 0;
    for (std::size_t i = 0; i < children.size(); ++i) {
        const BoxChild& child = children[i];
        const base::Rect& pad = child.padding;
        if (child.floating) {
            result[i] = FloatingRect(rect, child);
            continue;
        }
        if (kind == BoxKind::kStack) {
            const Wide width = CrossSize(child.fixedWidth, contentWidth, pad.left, pad.right);
            const Wide height = CrossSize(child.fixedHeight, contentHeight, pad.top, pad.bottom);
            result[i] = MakeRect(contentLeft + pad.left, contentTop + pad.top,
                                 contentLeft + pad.left + width, contentTop + pad.top + height);
            continue;
        }
        const int fixed = horizontal ? child.fixedWidth : child.fixedHeight;
        Wide size = fixed;
        if (fixed <= 0) {
            size = share + (++flexSeen == flexible ? rest : 0);
        }
        if (horizontal) {
            const Wide height = CrossSize(child.fixedHeight, contentHeight, pad.top, pad.bottom);
            const Wide left = cursor + pad.left;
            result[i] = MakeRect(left, contentTop + pad.top, left + size, contentTop + pad.top + height);
            cursor = left + size + pad.right + childPadding;
        } else {
            const Wide width = CrossSize(child.fixedWidth, contentWidth, pad.left, pad.right);
            const Wide top = cursor + pad.top;
            result[i] = MakeRect(contentLeft + pad.left, top, contentLeft + pad.left + width, top + size);
            cursor = top + size + pad.bottom + childPadding;
        }
    }
    return result;
}

}  // namespace DuiLib
