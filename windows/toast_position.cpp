#include "windows/toast_position.h"

#include <algorithm>

namespace {

// Gap between a bottom-right toast and the work area's right and bottom edges.
constexpr int kEdgeGap = 20;
// A second to notice the toast, then about seven characters a second, which is a slow reading
// pace for Chinese text.
constexpr unsigned kNoticeMs = 1000;
constexpr unsigned kMsPerCharacter = 150;
constexpr unsigned kLongestMs = 10000;

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

base::Size ToastSize(base::Size skin, base::Size text, base::Size margin, int maxWidth) {
    // The skin's toasts keep its size while half the margin is left around their text.
    if (text.cx + margin.cx <= skin.cx && text.cy + margin.cy <= skin.cy) return skin;
    const int width = std::max(skin.cx, std::min(text.cx + 2 * margin.cx, maxWidth));
    const int height = std::max(skin.cy, text.cy + 2 * margin.cy);
    return base::Size{width, height};
}

unsigned ToastReadingMs(size_t characters, unsigned minimum) {
    const size_t reading = kNoticeMs + std::min<size_t>(characters, kLongestMs) * kMsPerCharacter;
    return std::max<unsigned>(minimum, static_cast<unsigned>(std::min<size_t>(reading, kLongestMs)));
}
