#include "capture/hidden_windows_win.h"

#include "base/dib_canvas.h"
#include "base/screen_copy.h"
#include "base/unique_handle.h"

namespace {

constexpr double kGoneShare = 0.05;
constexpr DWORD kPollMs = 10;

// The screen's pixels in rect (screen coordinates); empty when they cannot be read.
std::vector<uint32_t> ScreenPixels(const RECT& rect) {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return {};
    WindowDc screen(nullptr);
    DibCanvas canvas;
    if (!screen.Get() || !canvas.Create(screen.Get(), width, height) ||
        !BitBlt(canvas.Dc(), 0, 0, width, height, screen.Get(), rect.left, rect.top, kScreenCopyRop)) {
        return {};
    }
    GdiFlush();
    return std::vector<uint32_t>(canvas.Bits(), canvas.Bits() + static_cast<size_t>(width) * height);
}

// How many of the pixels, as a share of them, are as they were; 0 when they cannot be compared.
double UnchangedShare(const std::vector<uint32_t>& before, const std::vector<uint32_t>& now) {
    if (before.empty() || before.size() != now.size()) return 0;
    size_t same = 0;
    for (size_t i = 0; i < before.size(); ++i) same += (before[i] & 0xFFFFFF) == (now[i] & 0xFFFFFF);
    return static_cast<double>(same) / static_cast<double>(before.size());
}

}  // namespace

void PaintThisThreadsWindows() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&message);
}

HiddenWindowsLook::HiddenWindowsLook(const std::vector<HWND>& windows) {
    for (HWND window : windows) {
        Area area;
        if (!window || !IsWindowVisible(window) || !GetWindowRect(window, &area.rect)) continue;
        area.pixels = ScreenPixels(area.rect);
        if (!area.pixels.empty()) areas_.push_back(std::move(area));
    }
}

void HiddenWindowsLook::WaitUntilGone(DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    for (const Area& area : areas_) {
        while (UnchangedShare(area.pixels, ScreenPixels(area.rect)) > kGoneShare &&
               GetTickCount() - start < timeoutMs) {
            PaintThisThreadsWindows();
            Sleep(kPollMs);
        }
    }
}
