#include "ui_toolkit/shadow_window.h"

#include "base/unique_handle.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "base/dib_canvas.h"
#include "ui_toolkit/paint_manager.h"

namespace DuiLib {

namespace {

constexpr wchar_t kClassName[] = L"DuiLibShadow";
constexpr int kMaxAlpha = 110;

bool RegisterShadowClass() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &DefWindowProcW;
        wc.hInstance = CPaintManagerUI::GetInstance();
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

}  // namespace

ShadowWindow::~ShadowWindow() {
    for (HWND strip : strips_) {
        if (strip) DestroyWindow(strip);
    }
}

int ShadowWindow::AlphaAt(int distance, int size) {
    if (distance <= 0 || distance > size || size <= 0) return 0;
    const double t = 1.0 - (distance - 0.5) / size;
    return static_cast<int>(kMaxAlpha * t * t + 0.5);
}

void ShadowWindow::Attach(HWND target) {
    target_ = target;
    if (!RegisterShadowClass()) return;
    for (HWND& strip : strips_) {
        strip = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName,
                                L"", WS_POPUP, 0, 0, 0, 0, GetWindow(target, GW_OWNER), nullptr,
                                CPaintManagerUI::GetInstance(), nullptr);
    }
    Update();
}

void ShadowWindow::Update() {
    if (!strips_[0] || !target_) return;
    if (!IsWindowVisible(target_) || IsIconic(target_)) {
        for (HWND strip : strips_) {
            if (strip) ShowWindow(strip, SW_HIDE);
        }
        return;
    }
    RECT rc;
    GetWindowRect(target_, &rc);
    const int width = rc.right - rc.left + 2 * size_;
    const int height = rc.bottom - rc.top + 2 * size_;
    if (width != rendered_.cx || height != rendered_.cy) Render(width, height);
    const bool topmost = (GetWindowLongW(target_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    RECT parts[4];
    StripRects(width, height, size_, parts);
    for (int i = 0; i < 4; ++i) {
        if (!strips_[i]) continue;
        SetWindowLongW(strips_[i], GWL_EXSTYLE, (GetWindowLongW(strips_[i], GWL_EXSTYLE) & ~WS_EX_TOPMOST) |
                                                    (topmost ? WS_EX_TOPMOST : 0));
        const RECT& part = parts[i];
        SetWindowPos(strips_[i], target_, rc.left - size_ + part.left, rc.top - size_ + part.top,
                     part.right - part.left, part.bottom - part.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
}

void ShadowWindow::StripRects(int width, int height, int size, RECT out[4]) {
    const int band = std::min(size, height / 2);
    out[0] = RECT{0, 0, width, band};
    out[1] = RECT{0, height - band, width, height};
    out[2] = RECT{0, band, std::min(size, width), height - band};
    out[3] = RECT{std::max(0, width - size), band, width, height - band};
}

std::vector<uint32_t> ShadowWindow::PartPixels(const RECT& part, int width, int height, int size, DWORD color) {
    const uint32_t r = (color >> 16) & 0xFF, g = (color >> 8) & 0xFF, b = color & 0xFF;
    // The premultiplied pixel at each distance from the window's edge.
    std::vector<uint32_t> shade(static_cast<size_t>(std::max(size, 0)) + 1, 0);
    for (int d = 1; d <= size; ++d) {
        const uint32_t a = static_cast<uint32_t>(AlphaAt(d, size));
        shade[d] = a << 24 | (r * a / 255) << 16 | (g * a / 255) << 8 | (b * a / 255);
    }
    // By the distance outside the inner (window) rectangle, rounded at the corners.
    const auto pixel = [&](int x, int y) -> uint32_t {
        const int dx = x < size ? size - x : (x >= width - size ? x - (width - size) + 1 : 0);
        const int dy = y < size ? size - y : (y >= height - size ? y - (height - size) + 1 : 0);
        const int distance =
            dx == 0 ? dy : (dy == 0 ? dx : static_cast<int>(std::ceil(std::sqrt(double(dx * dx + dy * dy)))));
        return distance >= 1 && distance <= size ? shade[distance] : 0;
    };
    const int w = std::max(0, static_cast<int>(part.right - part.left));
    const int h = std::max(0, static_cast<int>(part.bottom - part.top));
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(y) * w + x] = pixel(part.left + x, part.top + y);
    }
    return pixels;
}

void ShadowWindow::Render(int width, int height) {
    RECT parts[4];
    StripRects(width, height, size_, parts);
    WindowDc screen(nullptr);
    for (int i = 0; i < 4; ++i) {
        const RECT& part = parts[i];
        const int w = part.right - part.left, h = part.bottom - part.top;
        DibCanvas canvas;
        if (!strips_[i] || w <= 0 || h <= 0 || !canvas.Create(nullptr, w, h)) continue;
        const std::vector<uint32_t> pixels = PartPixels(part, width, height, size_, color_);
        std::copy(pixels.begin(), pixels.end(), canvas.Bits());
        SIZE size{w, h};
        POINT origin{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UpdateLayeredWindow(strips_[i], screen.Get(), nullptr, &size, canvas.Dc(), &origin, 0, &blend, ULW_ALPHA);
    }
    rendered_ = SIZE{width, height};
}

}  // namespace DuiLib
