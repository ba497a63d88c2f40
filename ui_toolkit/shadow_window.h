// A soft coloured shadow around a window: four click-through layered strips just below it (top,
// bottom, left, right), following its position, size and visibility. Strips keep the layered
// surfaces to the ring itself: one window around a 4K picture would push 33 MB of transparency.
#pragma once

#include <windows.h>

namespace DuiLib {

class ShadowWindow {
public:
    ShadowWindow(int size, DWORD color) : size_(size), color_(color) {}
    ~ShadowWindow();
    ShadowWindow(const ShadowWindow&) = delete;
    ShadowWindow& operator=(const ShadowWindow&) = delete;

    void Attach(HWND target);
    // Follows the target's current place and visibility.
    void Update();
    // The top strip.
    HWND GetHWND() const { return strips_[0]; }

    // Alpha (0-255) of the shadow at distance d (1..size) outside the window's edge.
    static int AlphaAt(int distance, int size);

private:
    // The strips' rectangles within the whole shadow of the given size.
    void StripRects(int width, int height, RECT out[4]) const;
    void Render(int width, int height);

    int size_;
    DWORD color_;
    HWND target_ = nullptr;
    HWND strips_[4] = {};
    SIZE rendered_{};
};

}  // namespace DuiLib
