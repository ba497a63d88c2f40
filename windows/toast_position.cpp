#include "windows/toast_position.h"

namespace {

// Gap between a bottom-right toast and the work area's right and bottom edges.
constexpr int kEdgeGap = 20;

}  // namespace

base::Point ToastPosition(const base::Rect& workArea, int width, int height, bool centred) {
    if (centred) {
        // Integer division truncates toward zero, also for work areas left of or above the origin.
        return base::Point{(workArea.right - width - workArea.left) / 2 + workArea.left,
                           (workArea.bottom - height - workArea.top) / 2 + workArea.top};
    }
    const int x = workArea.right - width - kEdgeGap;
    const int y = workArea.bottom - height - kEdgeGap;
    return base::Point{x < workArea.left ? workArea.left : x, y < workArea.top ? workArea.top : y};
}
