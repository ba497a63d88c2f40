// A soft coloured shadow around a window: four click-through layered strips just below it (top,
// bottom, left, right), following its position, size and visibility. Strips keep the layered
// surfaces to the ring itself: one window around a 4K picture would push 33 MB of transparency.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

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
    // The strips' rectangles (top, bottom, left, right) within a whole shadow of width x height
    // around a window inset by `size` on each side.
    static void StripRects(int width, int height, int size, RECT out[4]);
    // The premultiplied pixels of one such part, row by row: shaded by the distance outside the
    // window, rounded at the corners.
    static std::vector<uint32_t> PartPixels(const RECT& part, int width, int height, int size, DWORD color);

private:
    void Render(int width, int height);

    int size_;
    DWORD color_;
    HWND target_ = nullptr;
    HWND strips_[4] = {};
    SIZE rendered_{};
};

}  // namespace DuiLib
