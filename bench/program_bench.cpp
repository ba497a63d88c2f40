// A region capture started the way a user starts it: from the main window's button through
// CMainWnd::StartRectCapture (hiding the windows, saving the settings, the capture thread) to the
// overlay's first painted frame, beside the capture start alone (a thread running the capture),
// taken in turns. Prints "name value unit" lines; the figure is the median of seven.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

#include "base/gdiplus_session.h"
#include "base/message_loop.h"
#include "bench/bench_util.h"
#include "capture/capture_annotations.h"
#include "capture/rectangular_selector.h"
#include "bench/bench_skin.h"
#include "windows/main_wnd.h"

namespace {


// Handles what the capture posted back (the restore, its thread's end), so the next run starts
// from the same state.
void Pump(const CMainWnd& mainWnd) {
    PumpMessagesUntil([&mainWnd] { return !mainWnd.CaptureRunning(); });
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

int main() {
    GdiplusSession gdiplus;
    if (!LoadBenchSkin()) return 1;
    CMainWnd mainWnd;
    if (!mainWnd.Create(nullptr, kMainWindowTitle, WS_VISIBLE, 0)) return 1;
    mainWnd.CenterWindow();
    mainWnd.ShowWindow(true, true);
    Pump(mainWnd);

    double shown = 0;
    const auto endAtFirstFrame = [&shown](CRectangularSelector& selector) {
        shown = Now();
        PostMessageW(selector.Overlay(), WM_KEYDOWN, VK_ESCAPE, 0);
    };
    mainWnd.SetCaptureStartedHandler(endAtFirstFrame);
    // The first capture of a process sets up the display connection; neither side pays it below.
    mainWnd.StartRectCapture();
    Pump(mainWnd);

    std::vector<double> program, alone;
    for (int i = 0; i < 7; ++i) {
        double start = Now();
        mainWnd.StartRectCapture();
        program.push_back(shown - start);
        Pump(mainWnd);

        start = Now();
        std::thread capture([&] {
            NoAnnotations annotations;
            RunRegionCapture(nullptr, annotations, {}, endAtFirstFrame);
        });
        capture.join();
        alone.push_back(shown - start);
        Pump(mainWnd);
    }
    const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const double p = Median(program), a = Median(alone);
    std::printf("program_capture_start_%dx%d_median %.2f ms\n", w, h, p);
    std::printf("capture_start_alone_%dx%d_median %.2f ms\n", w, h, a);
    std::printf("program_added_%dx%d %.1f %%\n", w, h, 100.0 * (p - a) / a);
    DestroyWindow(mainWnd.GetHWND());
    return 0;
}
