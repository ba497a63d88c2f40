// Waiting for hidden windows to leave the screen: a window under them that repaints in parts
// counts as gone only when nearly all of their pixels changed, not at the first part.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "base/dib_canvas.h"
#include "base/screen_copy.h"
#include "base/unique_handle.h"
#include "capture/hidden_windows_win.h"

namespace {

constexpr RECT kArea{200, 150, 600, 450};
// 0: as the window looked; 1: its top tenth repainted; 2: all of it repainted.
std::atomic<int> g_stage{0};

LRESULT CALLBACK SlowDesktop(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    UniqueBrush before(CreateSolidBrush(RGB(200, 40, 40))), after(CreateSolidBrush(RGB(30, 120, 60)));
    FillRect(dc, &client, before.Get());
    RECT changed = client;
    if (g_stage == 1) changed.bottom = client.bottom / 10;
    if (g_stage > 0) FillRect(dc, &changed, after.Get());
    EndPaint(window, &paint);
    return 0;
}

// The area's pixels on the screen now.
std::vector<uint32_t> ScreenArea() {
    const int width = kArea.right - kArea.left, height = kArea.bottom - kArea.top;
    WindowDc screen(nullptr);
    DibCanvas canvas;
    if (!canvas.Create(screen.Get(), width, height)) return {};
    BitBlt(canvas.Dc(), 0, 0, width, height, screen.Get(), kArea.left, kArea.top, kScreenCopyRop);
    GdiFlush();
    return std::vector<uint32_t>(canvas.Bits(), canvas.Bits() + static_cast<size_t>(width) * height);
}

// The share of the area's pixels that differ from before.
double ChangedShare(const std::vector<uint32_t>& before) {
    const std::vector<uint32_t> now = ScreenArea();
    if (before.empty() || now.size() != before.size()) return 0;
    size_t changed = 0;
    for (size_t i = 0; i < before.size(); ++i) changed += (now[i] & 0xFFFFFF) != (before[i] & 0xFFFFFF);
    return static_cast<double>(changed) / static_cast<double>(before.size());
}

}  // namespace

TEST(HiddenWindows, AWindowRepaintedInPartsIsGoneOnlyWhenNearlyAllOfItChanged) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = SlowDesktop;
    windowClass.lpszClassName = L"SlowDesktop";
    ASSERT_TRUE(RegisterClassW(&windowClass));
    const HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE,
                                        kArea.left, kArea.top, kArea.right - kArea.left, kArea.bottom - kArea.top,
                                        nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    // Shown and painted before its look is taken.
    for (int i = 0; i < 30; ++i) {
        PaintThisThreadsWindows();
        Sleep(10);
    }
    const HiddenWindowsLook look({window});
    const std::vector<uint32_t> before = ScreenArea();
    ASSERT_FALSE(before.empty());
    // A tenth of it repaints at once, the rest half a second later.
    std::thread repaint([window] {
        g_stage = 1;
        InvalidateRect(window, nullptr, FALSE);
        Sleep(500);
        g_stage = 2;
        InvalidateRect(window, nullptr, FALSE);
    });
    look.WaitUntilGone(10000);
    repaint.join();
    EXPECT_GE(ChangedShare(before), 0.95) << "the wait ended while most of the window was still on the screen";
    DestroyWindow(window);
    UnregisterClassW(windowClass.lpszClassName, nullptr);
}
