// A soft coloured shadow around a window: a separate click-through layered window just below it,
// following its position, size and visibility.
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
    HWND GetHWND() const { return hwnd_; }

    // Alpha (0-255) of the shadow at distance d (1..size) outside the window's edge.
    static int AlphaAt(int distance, int size);

private:
    void Render(int width, int height);

    int size_;
    DWORD color_;
    HWND target_ = nullptr;
    HWND hwnd_ = nullptr;
    SIZE rendered_{};
};

}  // namespace DuiLib
