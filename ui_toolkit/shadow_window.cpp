#include "ui_toolkit/shadow_window.h"

#include "base/unique_handle.h"

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
    if (hwnd_) DestroyWindow(hwnd_);
}

int ShadowWindow::AlphaAt(int distance, int size) {
    if (distance <= 0 || distance > size || size <= 0) return 0;
    const double t = 1.0 - (distance - 0.5) / size;
    return static_cast<int>(kMaxAlpha * t * t + 0.5);
}

void ShadowWindow::Attach(HWND target) {
    target_ = target;
    if (!RegisterShadowClass()) return;
    hwnd_ = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                            kClassName, L"", WS_POPUP, 0, 0, 0, 0, GetWindow(target, GW_OWNER), nullptr,
                            CPaintManagerUI::GetInstance(), nullptr);
    Update();
}

void ShadowWindow::Update() {
    if (!hwnd_ || !target_) return;
    if (!IsWindowVisible(target_) || IsIconic(target_)) {
        ShowWindow(hwnd_, SW_HIDE);
        return;
    }
    RECT rc;
    GetWindowRect(target_, &rc);
    const int width = rc.right - rc.left + 2 * size_;
    const int height = rc.bottom - rc.top + 2 * size_;
    if (width != rendered_.cx || height != rendered_.cy) Render(width, height);
    const bool topmost = (GetWindowLongW(target_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    SetWindowLongW(hwnd_, GWL_EXSTYLE, (GetWindowLongW(hwnd_, GWL_EXSTYLE) & ~WS_EX_TOPMOST) |
                                           (topmost ? WS_EX_TOPMOST : 0));
    SetWindowPos(hwnd_, target_, rc.left - size_, rc.top - size_, width, height,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void ShadowWindow::Render(int width, int height) {
    DibCanvas canvas;
    if (!canvas.Create(nullptr, width, height)) return;
    uint32_t* pixels = canvas.Bits();
    const uint32_t r = (color_ >> 16) & 0xFF, g = (color_ >> 8) & 0xFF, b = color_ & 0xFF;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Distance outside the inner (window) rectangle, rounded at the corners.
            const int dx = x < size_ ? size_ - x : (x >= width - size_ ? x - (width - size_) + 1 : 0);
            const int dy = y < size_ ? size_ - y : (y >= height - size_ ? y - (height - size_) + 1 : 0);
            const int distance = static_cast<int>(std::ceil(std::sqrt(double(dx * dx + dy * dy))));
            const uint32_t a = static_cast<uint32_t>(AlphaAt(distance, size_));
            pixels[static_cast<size_t>(y) * width + x] =
                a << 24 | (r * a / 255) << 16 | (g * a / 255) << 8 | (b * a / 255);
        }
    }
    WindowDc screen(nullptr);
    SIZE size{width, height};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(hwnd_, screen.Get(), nullptr, &size, canvas.Dc(), &origin, 0, &blend, ULW_ALPHA);
    rendered_ = size;
}

}  // namespace DuiLib
