#include "ui_toolkit/box_layout.h"

#include <cstddef>

namespace DuiLib {

namespace {

base::Rect FloatingRect(const base::Rect& rect, const BoxChild& child) {
    const base::Rect& p = child.floatPos;
    const int width = p.right - p.left > 0 ? p.right - p.left : child.fixedWidth;
    const int height = p.bottom - p.top > 0 ? p.bottom - p.top : child.fixedHeight;
    return base::Rect{rect.left + p.left, rect.top + p.top, rect.left + p.left + width,
                  rect.top + p.top + height};
}

// Size across the layout direction: fixed, or all that the padding leaves.
int CrossSize(int fixed, int available, int paddingBefore, int paddingAfter) {
    if (fixed > 0) return fixed;
    const int size = available - paddingBefore - paddingAfter;
    return size > 0 ? size : 0;
}

}  // namespace

std::vector<base::Rect> LayoutChildren(BoxKind kind, const base::Rect& rect, const base::Rect& inset,
                                   int childPadding, const std::vector<BoxChild>& children) {
    const base::Rect content{rect.left + inset.left, rect.top + inset.top, rect.right - inset.right,
                         rect.bottom - inset.bottom};
    std::vector<base::Rect> result(children.size());
    const bool horizontal = kind == BoxKind::kHorizontal;

    // Space taken along the direction by fixed sizes, paddings and gaps.
    int used = 0;
    int flexible = 0;
    int inFlow = 0;
    for (const BoxChild& child : children) {
        if (child.floating) continue;
        const int fixed = horizontal ? child.fixedWidth : child.fixedHeight;
        used += horizontal ? child.padding.left + child.padding.right
                           : child.padding.top + child.padding.bottom;
        if (fixed > 0) {
            used += fixed;
        } else {
            ++flexible;
        }
        ++inFlow;
    }
    if (inFlow > 1) used += childPadding * (inFlow - 1);
    const int length = horizontal ? content.Width() : content.Height();
    const int spare = length - used > 0 ? length - used : 0;
    const int share = flexible ? spare / flexible : 0;
    const int rest = flexible ? spare - share * flexible : 0;

    int cursor = horizontal ? content.left : content.top;
    int flexSeen = 0;
    for (std::size_t i = 0; i < children.size(); ++i) {
        const BoxChild& child = children[i];
        const base::Rect& pad = child.padding;
        if (child.floating) {
            result[i] = FloatingRect(rect, child);
            continue;
        }
        if (kind == BoxKind::kStack) {
            const int width = CrossSize(child.fixedWidth, content.Width(), pad.left, pad.right);
            const int height = CrossSize(child.fixedHeight, content.Height(), pad.top, pad.bottom);
            result[i] = base::Rect{content.left + pad.left, content.top + pad.top,
                               content.left + pad.left + width, content.top + pad.top + height};
            continue;
        }
        const int fixed = horizontal ? child.fixedWidth : child.fixedHeight;
        int size = fixed;
        if (fixed <= 0) {
            size = share + (++flexSeen == flexible ? rest : 0);
        }
        if (horizontal) {
            const int height = CrossSize(child.fixedHeight, content.Height(), pad.top, pad.bottom);
            const int left = cursor + pad.left;
            result[i] = base::Rect{left, content.top + pad.top, left + size, content.top + pad.top + height};
            cursor = left + size + pad.right + childPadding;
        } else {
            const int width = CrossSize(child.fixedWidth, content.Width(), pad.left, pad.right);
            const int top = cursor + pad.top;
            result[i] = base::Rect{content.left + pad.left, top, content.left + pad.left + width, top + size};
            cursor = top + size + pad.bottom + childPadding;
        }
    }
    return result;
}

}  // namespace DuiLib
