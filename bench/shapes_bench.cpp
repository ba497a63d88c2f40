// Costs of drawing shapes in a region capture at the display's size, each printed as
// "name value unit". A real capture runs on a thread of its own, with the real shapes
// (CaptureShapes over a CShapeLogic) and the toolbar; a selection covering the whole screen is
// dragged out and the rectangle tool chosen. Then, one pointer step at a time:
//   - drawing a rectangle on an empty canvas, repainted the program's way: the step message,
//     whose handler invalidates only what changed (the selection chrome and the shapes' dirty
//     rectangle), then the WM_PAINT that composes only that;
//   - the same rectangle, same steps, with the whole overlay invalidated after each step
//     (InvalidateRect(overlay, nullptr, FALSE), then UpdateWindow). This baseline is the
//     program's own paint with nothing left out: the whole window lies inside the selection, so
//     the paint composes the full frame in the back buffer (dimmed screen, undimmed selection,
//     border, label, handles, shapes) and copies it all to the window, the same pixels the
//     program's way leaves there. capture_bench's straightforward painter is not the baseline
//     here: it also pays a full-screen alpha blend per frame and cannot draw shapes;
//   - with 200 rectangles and ellipses spread over the screen, drawing one more the program's
//     way, and the topmost-shape search (CShapeLogic::TopmostAt) at points spread over the
//     screen, most of which miss every shape and so go through all of them.
// Input reaches the overlay as the messages the capture gets (presses and releases, the
// poller's WM_CAPTURE_CURSOR_MOVED), sent on the capture thread itself between two messages of
// its loop, so a step's figure is the capture's own work (handler, paint, GdiFlush) without the
// cost of a message between threads. Figures are medians over all steps: of three drags per kind
// on the empty canvas, the two kinds taking turns, and of one drag on the crowded canvas; each
// drawn rectangle is deleted again, so every drag starts from the same canvas. scripts/bench.sh
// runs it on Xvfb screens of the sizes asked for.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include "annotation/shape_config.h"
#include "annotation/shape_logic.h"
#include "base/app_messages.h"
#include "base/gdiplus_session.h"
#include "base/unique_handle.h"
#include "bench/bench_skin.h"
#include "bench/bench_util.h"
#include "capture/capture_shapes_win.h"
#include "capture/rectangular_selector.h"

namespace {

constexpr int kRounds = 3;
// A step over 200 shapes takes long; one drag gives enough of them.
constexpr int kCrowdedRounds = 1;
// A drag: 60 pointer steps of (12, 7) pixels from the press, a 720 x 420 rectangle at its end.
constexpr int kSteps = 60;
constexpr int kStepX = 12;
constexpr int kStepY = 7;
// The canvas of the second part: 20 x 10 cells, one shape in each.
constexpr int kColumns = 20;
constexpr int kRows = 10;
constexpr int kTopmostReps = 5;

// Runs work sent from another thread on the thread that made it, between two messages of that
// thread's loop; a message-only window of its own.
class ThreadRunner {
public:
    ThreadRunner() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &ThreadRunner::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        RegisterClassW(&wc);  // already registered: fine
        window_ = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                                  nullptr);
    }
    ~ThreadRunner() {
        if (window_) DestroyWindow(window_);
    }
    ThreadRunner(const ThreadRunner&) = delete;
    ThreadRunner& operator=(const ThreadRunner&) = delete;

    HWND Window() const { return window_; }

    // Runs work on the runner's thread and returns when it is done.
    static void Run(HWND runner, const std::function<void()>& work) {
        SendMessageW(runner, kRun, 0, reinterpret_cast<LPARAM>(&work));
    }

private:
    static constexpr wchar_t kClass[] = L"ShapesBenchRunner";
    static constexpr UINT kRun = WM_APP + 100;

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg != kRun) return DefWindowProcW(hwnd, msg, wParam, lParam);
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    }

    HWND window_ = nullptr;
};

// The pixels of a region and the number of its rectangles.
struct RegionSize {
    double pixels = 0;
    DWORD rects = 0;
};

RegionSize SizeOf(HRGN region) {
    RegionSize size;
    const DWORD bytes = GetRegionData(region, 0, nullptr);
    if (bytes == 0) return size;
    std::vector<BYTE> buffer(bytes);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (!GetRegionData(region, bytes, data)) return size;
    const RECT* r = reinterpret_cast<const RECT*>(data->Buffer);
    for (DWORD i = 0; i < data->rdh.nCount; ++i) {
        size.pixels += static_cast<double>(r[i].right - r[i].left) * (r[i].bottom - r[i].top);
    }
    size.rects = data->rdh.nCount;
    return size;
}

// The running capture as the benchmark drives it. Every member but Run is called on the capture
// thread (inside Run).
class ShapesCapture {
public:
    ShapesCapture(HWND overlay, HWND runner, CaptureShapes& shapes, int width, int height)
        : overlay_(overlay), runner_(runner), shapes_(shapes), w_(width), h_(height) {}

    void Run(const std::function<void()>& work) const { ThreadRunner::Run(runner_, work); }

    // Drags out a selection from the top left corner to the bottom right one.
    void SelectWholeScreen() {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, 0, 0);
        Send(WM_CAPTURE_CURSOR_MOVED, 0, w_ / 2, h_ / 2);
        Send(WM_CAPTURE_CURSOR_MOVED, 0, w_, h_);
        Send(WM_LBUTTONUP, 0, w_, h_);
        RepaintAll();
    }

    // The tool becomes the active one (choosing the active tool again would put it away).
    void UseTool(TOOL_BAR_BTN_TYPE tool) {
        if (shapes_.ActiveTool() != tool) shapes_.SelectTool(tool);
    }

    // Draws a shape of the active tool from (x0, y0) to (x1, y1) in two steps. The overlay is
    // not repainted: what the steps invalidated waits for the next paint.
    void DrawShape(int x0, int y0, int x1, int y1) {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, x0, y0);
        Send(WM_CAPTURE_CURSOR_MOVED, 0, (x0 + x1) / 2, (y0 + y1) / 2);
        Send(WM_CAPTURE_CURSOR_MOVED, 0, x1, y1);
        Send(WM_LBUTTONUP, 0, x1, y1);
    }

    // Paints the whole overlay.
    void RepaintAll() {
        InvalidateRect(overlay_, nullptr, FALSE);
        UpdateWindow(overlay_);
        GdiFlush();
    }

    // A drag of the active tool from (x0, y0): step(x, y) takes the pointer to each point in
    // turn. The shape drawn is deleted again and the overlay repainted, as before the drag.
    void Drag(int x0, int y0, const std::function<void(int x, int y)>& step) {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, x0, y0);
        UpdateWindow(overlay_);
        GdiFlush();
        int x = x0, y = y0;
        for (int i = 1; i <= kSteps; ++i) {
            x = x0 + i * kStepX;
            y = y0 + i * kStepY;
            step(x, y);
        }
        Send(WM_LBUTTONUP, 0, x, y);
        shapes_.DeleteCurrentShape();
        RepaintAll();
    }

    // One pointer step; the overlay repaints what the step invalidated, or the whole of it.
    double TimedStep(int x, int y, bool wholeOverlay) {
        const double t0 = Now();
        Send(WM_CAPTURE_CURSOR_MOVED, 0, x, y);
        if (wholeOverlay) InvalidateRect(overlay_, nullptr, FALSE);
        UpdateWindow(overlay_);
        GdiFlush();
        return Now() - t0;
    }

    // One pointer step, untimed, giving the area it left to repaint.
    RegionSize ProbedStep(int x, int y) {
        Send(WM_CAPTURE_CURSOR_MOVED, 0, x, y);
        UniqueRegion update(CreateRectRgn(0, 0, 0, 0));
        RegionSize size;
        if (GetUpdateRgn(overlay_, update.Get(), FALSE) != ERROR) size = SizeOf(update.Get());
        UpdateWindow(overlay_);
        GdiFlush();
        return size;
    }

private:
    void Send(UINT msg, WPARAM wParam, int x, int y) { SendMessageW(overlay_, msg, wParam, MAKELPARAM(x, y)); }

    HWND overlay_;
    HWND runner_;
    CaptureShapes& shapes_;
    int w_, h_;
};

}  // namespace

int main() {
    GdiplusSession gdiplus;
    if (!LoadBenchSkin()) return 1;
    const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    char size[32];
    std::snprintf(size, sizeof size, "%dx%d", w, h);

    ShapeConfigRegistry registry;
    CShapeLogic logic(registry);
    CaptureShapes shapes(logic);
    std::atomic<HWND> overlay{nullptr}, runner{nullptr};
    std::atomic<bool> ended{false};
    std::thread capture([&] {
        ThreadRunner threadRunner;
        RunRegionCapture(nullptr, shapes, [&](CRectangularSelector& selector) {
            runner = threadRunner.Window();
            overlay = selector.Overlay();
        });
        ended = true;
    });
    while (!overlay && !ended) Sleep(1);
    if (!overlay || !runner) {
        std::fprintf(stderr, "the capture did not start\n");
        capture.join();
        return 1;
    }
    ShapesCapture bench(overlay, runner, shapes, w, h);

    // Every drag starts at the centre of the cell (5, 2) of the canvas grid: inside a shape
    // there, on no outline, so a press draws a new shape rather than picking one.
    const int cellW = w / kColumns, cellH = h / kRows;
    const int x0 = 5 * cellW + cellW / 2, y0 = 2 * cellH + cellH / 2;

    // An empty canvas: the program's repaint against the whole overlay's, in turns. The first
    // drag also warms everything up and finds how much each step leaves to repaint.
    std::vector<double> stepTimes, wholeTimes, dirtyPixels, dirtyRects;
    bench.Run([&] {
        bench.SelectWholeScreen();
        bench.UseTool(TOOL_BAR_BTN_TYPE::kRectangle);
        bench.RepaintAll();
        bench.Drag(x0, y0, [&](int x, int y) {
            const RegionSize dirty = bench.ProbedStep(x, y);
            dirtyPixels.push_back(dirty.pixels);
            dirtyRects.push_back(dirty.rects);
        });
    });
    for (int round = 0; round < kRounds; ++round) {
        bench.Run([&] { bench.Drag(x0, y0, [&](int x, int y) { stepTimes.push_back(bench.TimedStep(x, y, false)); }); });
        bench.Run([&] { bench.Drag(x0, y0, [&](int x, int y) { wholeTimes.push_back(bench.TimedStep(x, y, true)); }); });
    }

    // 200 shapes, rectangles and ellipses by turns, one inside each cell; then one more drawn.
    std::vector<double> crowdedTimes;
    bench.Run([&] {
        for (int row = 0; row < kRows; ++row) {
            for (int column = 0; column < kColumns; ++column) {
                const bool ellipse = (row * kColumns + column) % 2 != 0;
                bench.UseTool(ellipse ? TOOL_BAR_BTN_TYPE::kEllipse : TOOL_BAR_BTN_TYPE::kRectangle);
                const int left = column * cellW, top = row * cellH;
                bench.DrawShape(left + cellW / 8, top + cellH / 8, left + cellW * 7 / 8, top + cellH * 7 / 8);
            }
        }
        bench.UseTool(TOOL_BAR_BTN_TYPE::kRectangle);
        bench.RepaintAll();
    });
    const size_t crowd = logic.Shapes().size();
    for (int round = 0; round < kCrowdedRounds; ++round) {
        bench.Run([&] { bench.Drag(x0, y0, [&](int x, int y) { crowdedTimes.push_back(bench.TimedStep(x, y, false)); }); });
    }

    // The topmost-shape search at points spread over the screen.
    std::vector<double> searches;
    bench.Run([&] {
        for (int j = 0; j < 16; ++j) {
            for (int i = 0; i < 32; ++i) {
                const int x = (2 * i + 1) * w / 64, y = (2 * j + 1) * h / 32;
                const double t0 = Now();
                for (int k = 0; k < kTopmostReps; ++k) logic.TopmostAt(x, y);
                searches.push_back((Now() - t0) * 1000.0 / kTopmostReps);
            }
        }
    });

    PostMessageW(overlay, WM_KEYDOWN, VK_ESCAPE, 0);
    capture.join();

    const double step = Median(stepTimes), whole = Median(wholeTimes);
    std::printf("shape_step_%s %.2f ms\n", size, step);
    std::printf("shape_step_whole_overlay_%s %.2f ms\n", size, whole);
    std::printf("shape_step_%s_ratio %.1f x\n", size, whole / step);
    std::printf("shape_step_dirty_%s %.0f px\n", size, Median(dirtyPixels));
    std::printf("shape_step_dirty_rects_%s %.0f rects\n", size, Median(dirtyRects));
    std::printf("shape_step_%zu_shapes_%s %.2f ms\n", crowd, size, Median(crowdedTimes));
    std::printf("topmost_at_%zu_shapes_%s %.1f us\n", crowd, size, Median(searches));
    return 0;
}
