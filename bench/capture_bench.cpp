// Costs of a region capture at the display's size, each printed as "name value unit":
// grabbing the screen, capture start (grab to first painted overlay), one repaint while a
// selection is dragged out, peak private memory, and writing the picture as PNG and BMP. The
// repaint and start are also measured for the straightforward drawing (making and showing the
// overlay window; then per frame a full-screen copy, a full-screen alpha blend of the dim mask,
// the selection, a full-screen copy to the window) and given as ratios. Run under Xvfb screens of several sizes by scripts/bench.sh.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "app/dib_section.h"
#include "capture/capture_output.h"
#include "capture/rectangular_selector.h"

namespace {

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The straightforward paint of one frame, into window.
struct NaivePainter {
    int w, h;
    HDC screen, frozenDc, maskDc, backDc;
    HBITMAP frozen, mask, back;

    NaivePainter(int width, int height) : w(width), h(height) {
        screen = GetDC(nullptr);
        uint32_t* bits = nullptr;
        frozen = CreateTopDownDib(screen, w, h, &bits);
        mask = CreateTopDownDib(screen, w, h, &bits);
        std::fill(bits, bits + static_cast<size_t>(w) * h, 0x99000000u);
        back = CreateCompatibleBitmap(screen, w, h);
        frozenDc = CreateCompatibleDC(screen);
        maskDc = CreateCompatibleDC(screen);
        backDc = CreateCompatibleDC(screen);
        SelectObject(frozenDc, frozen);
        SelectObject(maskDc, mask);
        SelectObject(backDc, back);
    }
    ~NaivePainter() {
        DeleteDC(frozenDc);
        DeleteDC(maskDc);
        DeleteDC(backDc);
        DeleteObject(frozen);
        DeleteObject(mask);
        DeleteObject(back);
        ReleaseDC(nullptr, screen);
    }
    void Grab() { BitBlt(frozenDc, 0, 0, w, h, screen, 0, 0, SRCCOPY); }
    void Paint(HWND window, const RECT& sel) {
        BitBlt(backDc, 0, 0, w, h, frozenDc, 0, 0, SRCCOPY);
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(backDc, 0, 0, w, h, maskDc, 0, 0, w, h, blend);
        BitBlt(backDc, sel.left, sel.top, sel.right - sel.left, sel.bottom - sel.top, frozenDc, sel.left, sel.top, SRCCOPY);
        HPEN pen = CreatePen(PS_SOLID, 2, RGB(0x16, 0x77, 0xFF));
        HGDIOBJ old = SelectObject(backDc, pen);
        SelectObject(backDc, GetStockObject(NULL_BRUSH));
        Rectangle(backDc, sel.left, sel.top, sel.right, sel.bottom);
        SelectObject(backDc, old);
        DeleteObject(pen);
        HDC dc = GetDC(window);
        BitBlt(dc, 0, 0, w, h, backDc, 0, 0, SRCCOPY);
        ReleaseDC(window, dc);
        GdiFlush();
    }
};

size_t PeakPrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakPagefileUsage;
}

}  // namespace

int main() {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    char size[32];
    std::snprintf(size, sizeof size, "%dx%d", w, h);
    const size_t baseline = PeakPrivateBytes();

    // The straightforward drawing, measured first (its buffers are freed before the capture).
    double naiveGrab, naiveRepaint, naiveWindow;
    {
        NaivePainter naive(w, h);
        // Its start makes and shows the overlay window too, as the program's does.
        const double tw = Now();
        HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"naive", WS_POPUP, 0, 0, w, h,
                                      nullptr, nullptr, nullptr, nullptr);
        ShowWindow(window, SW_SHOW);
        naiveWindow = Now() - tw;
        std::vector<double> grabs, repaints;
        for (int i = 0; i < 5; ++i) {
            const double t0 = Now();
            naive.Grab();
            grabs.push_back(Now() - t0);
        }
        for (int i = 0; i < 9; ++i) {
            const RECT sel{w / 4, h / 4, w / 4 + w / 3 + i * 10, h / 4 + h / 3 + i * 6};
            const double t0 = Now();
            naive.Paint(window, sel);
            repaints.push_back(Now() - t0);
        }
        DestroyWindow(window);
        naiveGrab = Median(grabs);
        naiveRepaint = Median(repaints);
    }

    // The program's capture: start (grab, dimming, first paint), then drag steps.
    NoAnnotations annotations;
    std::atomic<CRectangularSelector*> selector{nullptr};
    double startTime = 0;
    const double t0 = Now();
    std::thread capture([&] {
        RunRegionCapture(nullptr, annotations, [&](CRectangularSelector& s) {
            startTime = Now() - t0;
            selector = &s;
        });
    });
    while (!selector) Sleep(1);
    HWND overlay = selector.load()->Overlay();
    const int x0 = w / 4, y0 = h / 4;
    SendMessageW(overlay, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0, y0));
    SendMessageW(overlay, WM_CAPTURE_FLUSH, 0, 0);
    std::vector<double> repaints;
    for (int i = 0; i < 9; ++i) {
        const int x = x0 + w / 3 + i * 10, y = y0 + h / 3 + i * 6;
        const double t1 = Now();
        SendMessageW(overlay, WM_CAPTURE_CURSOR_MOVED, 0, MAKELPARAM(x, y));
        SendMessageW(overlay, WM_CAPTURE_FLUSH, 0, 0);
        repaints.push_back(Now() - t1);
    }
    const size_t peak = PeakPrivateBytes();
    PostMessageW(overlay, WM_KEYDOWN, VK_ESCAPE, 0);
    capture.join();

    const double repaint = Median(repaints);
    const double naiveStart = naiveWindow + naiveGrab + naiveRepaint;
    std::printf("grab_%s %.1f ms\n", size, naiveGrab);
    std::printf("capture_start_%s %.1f ms\n", size, startTime);
    std::printf("capture_start_naive_%s %.1f ms\n", size, naiveStart);
    std::printf("capture_start_%s_ratio %.2f x\n", size, naiveStart / startTime);
    std::printf("repaint_%s %.2f ms\n", size, repaint);
    std::printf("repaint_naive_%s %.2f ms\n", size, naiveRepaint);
    std::printf("repaint_%s_ratio %.1f x\n", size, naiveRepaint / repaint);
    const double screenBytes = 4.0 * w * h;
    std::printf("peak_private_%s %.1f MB\n", size, (peak - baseline) / 1048576.0);
    std::printf("peak_private_%s_screens %.2f x\n", size, (peak - baseline) / screenBytes);

    HBITMAP shot = GrabVirtualScreen();
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    for (const wchar_t* extension : {L"png", L"bmp"}) {
        const std::wstring path = std::wstring(temp) + L"capture_bench." + extension;
        const double t1 = Now();
        WritePictureFile(shot, path);
        std::printf("write_%ls_%s %.1f ms\n", extension, size, Now() - t1);
        DeleteFileW(path.c_str());
    }
    DeleteObject(shot);
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
