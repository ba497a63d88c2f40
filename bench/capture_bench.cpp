// Costs of a region capture at the display's size, each printed as "name value unit": grabbing
// the screen, capture start (from nothing to the first painted overlay), one repaint while a
// selection is dragged out, peak private memory, and writing the picture as PNG and BMP. Start
// and repaint are also measured for the straightforward capture (hidden overlay window, black
// back buffer, grab, then per frame a full-screen copy, a full-screen alpha blend of the dim mask
// made on the first paint, the selection, a full-screen copy to the window) and given as ratios.
// scripts/bench.sh runs it on Xvfb screens of several sizes.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "base/gdiplus_session.h"
#include "bench/bench_util.h"
#include "base/dib_canvas.h"
#include "capture/capture_output.h"
#include "capture/rectangular_selector.h"

namespace {


// The straightforward capture: a black back buffer compatible with the window, the grab into a
// new DIB section, and per frame a full-screen copy, a full-screen alpha blend of the dim mask
// (made on the first paint), the selection, a full-screen copy to the window.
struct NaivePainter {
    int w, h;
    HDC screen, frozenDc, maskDc = nullptr, backDc;
    HBITMAP frozen, mask = nullptr, back;

    NaivePainter(HWND window, int width, int height) : w(width), h(height) {
        screen = GetDC(nullptr);
        HDC windowDc = GetDC(window);
        back = CreateCompatibleBitmap(windowDc, w, h);
        ReleaseDC(window, windowDc);
        backDc = CreateCompatibleDC(screen);
        SelectObject(backDc, back);
        PatBlt(backDc, 0, 0, w, h, BLACKNESS);
        frozen = CreateTopDownDib(screen, w, h, nullptr);
        frozenDc = CreateCompatibleDC(screen);
        SelectObject(frozenDc, frozen);
    }
    ~NaivePainter() {
        DeleteDC(frozenDc);
        DeleteDC(backDc);
        if (maskDc) DeleteDC(maskDc);
        DeleteObject(frozen);
        DeleteObject(back);
        if (mask) DeleteObject(mask);
        ReleaseDC(nullptr, screen);
    }
    void Grab() { BitBlt(frozenDc, 0, 0, w, h, screen, 0, 0, SRCCOPY); }
    void Paint(HWND window, const RECT& sel) {
        if (!mask) {
            uint32_t* bits = nullptr;
            mask = CreateTopDownDib(screen, w, h, &bits);
            std::fill(bits, bits + static_cast<size_t>(w) * h, 0x99000000u);
            maskDc = CreateCompatibleDC(screen);
            SelectObject(maskDc, mask);
        }
        BitBlt(backDc, 0, 0, w, h, frozenDc, 0, 0, SRCCOPY);
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(backDc, 0, 0, w, h, maskDc, 0, 0, w, h, blend);
        if (sel.right > sel.left) {
            BitBlt(backDc, sel.left, sel.top, sel.right - sel.left, sel.bottom - sel.top, frozenDc, sel.left, sel.top,
                   SRCCOPY);
            HPEN pen = CreatePen(PS_SOLID, 2, RGB(0x16, 0x77, 0xFF));
            HGDIOBJ old = SelectObject(backDc, pen);
            SelectObject(backDc, GetStockObject(NULL_BRUSH));
            Rectangle(backDc, sel.left, sel.top, sel.right, sel.bottom);
            SelectObject(backDc, old);
            DeleteObject(pen);
        }
        HDC dc = GetDC(window);
        BitBlt(dc, 0, 0, w, h, backDc, 0, 0, SRCCOPY);
        ReleaseDC(window, dc);
        GdiFlush();
    }
};

HWND NaiveOverlay(int w, int h) {
    return CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"naive", WS_POPUP, 0, 0, w, h, nullptr,
                           nullptr, nullptr, nullptr);
}

// The straightforward start on a thread of its own, as a capture runs: the hidden overlay
// window, its buffers, the grab, showing the window and its first paint.
double NaiveStart(int w, int h) {
    double elapsed = 0;
    std::thread run([&] {
        const double t0 = Now();
        HWND window = NaiveOverlay(w, h);
        {
            NaivePainter naive(window, w, h);
            naive.Grab();
            ShowWindow(window, SW_SHOW);
            naive.Paint(window, RECT{});
            elapsed = Now() - t0;
        }
        DestroyWindow(window);
    });
    run.join();
    return elapsed;
}

// One capture of the program on a thread of its own: the time to its first painted overlay;
// during returns what the benchmark does with the running capture before it is cancelled.
double ProgramCapture(const std::function<void(CRectangularSelector&)>& during = {}) {
    NoAnnotations annotations;
    std::atomic<CRectangularSelector*> selector{nullptr};
    double elapsed = 0;
    const double t0 = Now();
    std::thread capture([&] {
        RunRegionCapture(nullptr, annotations, {}, [&](CRectangularSelector& s) {
            elapsed = Now() - t0;
            selector = &s;
        });
    });
    while (!selector) Sleep(1);
    if (during) during(*selector.load());
    PostMessageW(selector.load()->Overlay(), WM_KEYDOWN, VK_ESCAPE, 0);
    capture.join();
    return elapsed;
}

size_t PeakPrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakPagefileUsage;
}

}  // namespace

int main() {
    GdiplusSession gdiplus;
    const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    char size[32];
    std::snprintf(size, sizeof size, "%dx%d", w, h);
    // The first grab of a process sets up the display connection; neither side pays it below.
    DeleteObject(GrabVirtualScreen());
    const size_t baseline = PeakPrivateBytes();

    // The program's repaint: drag steps of a selection being dragged out.
    std::vector<double> repaints;
    size_t peak = 0;
    ProgramCapture([&](CRectangularSelector& s) {
        HWND overlay = s.Overlay();
        const int x0 = w / 4, y0 = h / 4;
        SendMessageW(overlay, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0, y0));
        SendMessageW(overlay, WM_CAPTURE_FLUSH, 0, 0);
        for (int i = 0; i < 9; ++i) {
            const int x = x0 + w / 3 + i * 10, y = y0 + h / 3 + i * 6;
            const double t1 = Now();
            SendMessageW(overlay, WM_CAPTURE_CURSOR_MOVED, 0, MAKELPARAM(x, y));
            SendMessageW(overlay, WM_CAPTURE_FLUSH, 0, 0);
            repaints.push_back(Now() - t1);
        }
        peak = PeakPrivateBytes();
    });

    // The straightforward grab and repaint, on buffers made once.
    std::vector<double> grabs, naiveRepaints;
    {
        HWND window = NaiveOverlay(w, h);
        ShowWindow(window, SW_SHOW);
        NaivePainter naive(window, w, h);
        for (int i = 0; i < 5; ++i) {
            const double t0 = Now();
            naive.Grab();
            grabs.push_back(Now() - t0);
        }
        for (int i = 0; i < 9; ++i) {
            const RECT sel{w / 4, h / 4, w / 4 + w / 3 + i * 10, h / 4 + h / 3 + i * 6};
            const double t0 = Now();
            naive.Paint(window, sel);
            naiveRepaints.push_back(Now() - t0);
        }
        DestroyWindow(window);
    }

    // Capture starts, each from nothing, the two kinds taking turns.
    std::vector<double> starts, naiveStarts;
    for (int i = 0; i < 5; ++i) {
        naiveStarts.push_back(NaiveStart(w, h));
        starts.push_back(ProgramCapture());
    }

    const double start = Median(starts), naiveStart = Median(naiveStarts);
    const double repaint = Median(repaints), naiveRepaint = Median(naiveRepaints);
    std::printf("grab_%s %.1f ms\n", size, Median(grabs));
    std::printf("capture_start_%s %.1f ms\n", size, start);
    std::printf("capture_start_naive_%s %.1f ms\n", size, naiveStart);
    std::printf("capture_start_%s_ratio %.2f x\n", size, naiveStart / start);
    std::printf("repaint_%s %.2f ms\n", size, repaint);
    std::printf("repaint_naive_%s %.2f ms\n", size, naiveRepaint);
    std::printf("repaint_%s_ratio %.1f x\n", size, naiveRepaint / repaint);
    const double screenBytes = 4.0 * w * h;
    std::printf("peak_private_%s %.1f MB\n", size, (peak - baseline) / 1048576.0);
    std::printf("peak_private_%s_screens %.2f x\n", size, (peak - baseline) / screenBytes);

    HBITMAP shot = GrabVirtualScreen();
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    for (const PicSaveFormat format : {PicSaveFormat::kPng, PicSaveFormat::kBmp}) {
        const wchar_t* extension = PictureExtension(format);
        const std::wstring path = std::wstring(temp) + L"capture_bench." + extension;
        const double t1 = Now();
        WritePictureFile(shot, path, format);
        std::printf("write_%ls_%s %.1f ms\n", extension, size, Now() - t1);
        DeleteFileW(path.c_str());
    }
    DeleteObject(shot);
    return 0;
}
