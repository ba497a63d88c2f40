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
//   - a mosaic of 10,000 cells, drawn with the mosaic tool as one stroke sweeping the screen in
//     rows, going on by steps of 12 pixels, each adding a cell or two; and a freehand line of
//     5,000 points (as many pointer steps), a zigzag sweeping the screen the same way, growing
//     by a point per step. Both are drawn with the overlay repainted after every step, as the
//     program does. Each step that goes on is then repainted the program's way (the step's
//     dirty area) or the straightforward way: the step's invalidation is dropped and the
//     benchmark paints the whole overlay itself, composing the full frame in a buffer the size
//     of the screen (a copy of the frozen screen, then the shape) and copying all of it to the
//     window. The mosaic's cells are each painted
//     with a brush and a pen of their own, made, selected, used (FillRect, then Rectangle),
//     deselected and deleted per cell; the freehand line is drawn whole, every point in one
//     DrawLines, with a GDI+ Graphics and Pen made for that paint (anti-aliased, the line's
//     width and colour: 2 pixels, 0xFF009BFF). This frame leaves out the selection's border,
//     label and handles (a few GDI calls; the strokes keep away from them), so it costs, if
//     anything, less than a full frame of the program. Once, after the program's first round,
//     the window's pixels under the shape are read back and compared with the straightforward
//     frame; a "mismatch" line, printed only when some differ, gives their count;
//   - with 200 rectangles and ellipses spread over the screen, drawing one more the program's
//     way, and the topmost-shape search (CShapeLogic::TopmostAt) at points spread over the
//     screen, most of which miss every shape and so go through all of them.
// Input reaches the overlay as the messages the capture gets (presses and releases, the
// poller's WM_CAPTURE_CURSOR_MOVED), sent on the capture thread itself between two messages of
// its loop, so a step's figure is the capture's own work (handler, paint, GdiFlush) without the
// cost of a message between threads. Figures are medians over all steps: of three drags (or
// stroke continuations) per kind, the two kinds taking turns, and of one drag on the crowded
// canvas; each drawn shape is deleted again, so every part starts from the same canvas.
// scripts/bench.sh runs it on Xvfb screens of the sizes asked for.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include "annotation/mosaic_shape.h"
#include "annotation/shape_config.h"
#include "annotation/shape_logic.h"
#include "annotation/stroke_shapes.h"
#include "base/app_messages.h"
#include "base/dib_canvas.h"
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
// The canvas of the crowded part: 20 x 10 cells, one shape in each.
constexpr int kColumns = 20;
constexpr int kRows = 10;
constexpr int kTopmostReps = 5;

// The long strokes: their size, the steps timed per round of each kind, the pointer's travel
// per step (along the path) and the zigzag's height above and below a freehand row.
constexpr int kMosaicCells = 10000;
constexpr int kFreehandPoints = 5000;
constexpr int kStrokeSteps = 30;
constexpr int kStrokeStep = kStepX;
constexpr int kZigzag = 6;
// How far a long stroke goes on in its timed steps, both kinds together.
constexpr int kStrokeTravel = kRounds * 2 * kStrokeSteps * kStrokeStep;
// The strokes keep this far from the screen's edges: from the selection's border and handles,
// the size label (top left) and the toolbar (top right).
constexpr int kMargin = 100;

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

    // The pointer pressed, moved to or let go at a point, as the capture hears it. What the
    // handler invalidates waits for the next paint.
    void Press(POINT p) { Send(WM_LBUTTONDOWN, MK_LBUTTON, p.x, p.y); }
    void MoveTo(POINT p) { Send(WM_CAPTURE_CURSOR_MOVED, 0, p.x, p.y); }
    void Release(POINT p) { Send(WM_LBUTTONUP, 0, p.x, p.y); }

    // Paints what is invalid in the overlay.
    void Update() {
        UpdateWindow(overlay_);
        GdiFlush();
    }

    // Drags out a selection from the top left corner to the bottom right one.
    void SelectWholeScreen() {
        Press(POINT{0, 0});
        MoveTo(POINT{w_ / 2, h_ / 2});
        MoveTo(POINT{w_, h_});
        Release(POINT{w_, h_});
        RepaintAll();
    }

    // The tool becomes the active one (choosing the active tool again would put it away).
    void UseTool(TOOL_BAR_BTN_TYPE tool) {
        if (shapes_.ActiveTool() != tool) shapes_.SelectTool(tool);
    }

    // Draws a shape of the active tool from (x0, y0) to (x1, y1) in two steps. The overlay is
    // not repainted: what the steps invalidated waits for the next paint.
    void DrawShape(int x0, int y0, int x1, int y1) {
        Press(POINT{x0, y0});
        MoveTo(POINT{(x0 + x1) / 2, (y0 + y1) / 2});
        MoveTo(POINT{x1, y1});
        Release(POINT{x1, y1});
    }

    // Paints the whole overlay.
    void RepaintAll() {
        InvalidateRect(overlay_, nullptr, FALSE);
        Update();
    }

    // Lets the shape being drawn go at p, deletes it and repaints the overlay, as before it.
    void EndAndDelete(POINT p) {
        Release(p);
        shapes_.DeleteCurrentShape();
        RepaintAll();
    }

    // A drag of the active tool from (x0, y0): step(x, y) takes the pointer to each point in
    // turn. The shape drawn is deleted again and the overlay repainted, as before the drag.
    void Drag(int x0, int y0, const std::function<void(int x, int y)>& step) {
        Press(POINT{x0, y0});
        Update();
        int x = x0, y = y0;
        for (int i = 1; i <= kSteps; ++i) {
            x = x0 + i * kStepX;
            y = y0 + i * kStepY;
            step(x, y);
        }
        EndAndDelete(POINT{x, y});
    }

    // One pointer step; the overlay repaints what the step invalidated, or the whole of it.
    double TimedStep(int x, int y, bool wholeOverlay) {
        const double t0 = Now();
        MoveTo(POINT{x, y});
        if (wholeOverlay) InvalidateRect(overlay_, nullptr, FALSE);
        Update();
        return Now() - t0;
    }

    // One pointer step whose frame the benchmark paints itself: what the step invalidated is
    // dropped, and paint draws the whole overlay through a DC of the window.
    double TimedStep(POINT p, const std::function<void(HDC window)>& paint) {
        const double t0 = Now();
        MoveTo(p);
        ValidateRect(overlay_, nullptr);
        {
            WindowDc window(overlay_);
            paint(window.Get());
        }
        GdiFlush();
        return Now() - t0;
    }

    // One pointer step, untimed, giving the area it left to repaint.
    RegionSize ProbedStep(int x, int y) {
        MoveTo(POINT{x, y});
        UniqueRegion update(CreateRectRgn(0, 0, 0, 0));
        RegionSize size;
        if (GetUpdateRgn(overlay_, update.Get(), FALSE) != ERROR) size = SizeOf(update.Get());
        Update();
        return size;
    }

    // Copies what the overlay window shows into a canvas of the screen's size.
    void ReadWindow(const DibCanvas& into) {
        WindowDc window(overlay_);
        BitBlt(into.Dc(), 0, 0, w_, h_, window.Get(), 0, 0, SRCCOPY);
        GdiFlush();
    }

private:
    void Send(UINT msg, WPARAM wParam, int x, int y) { SendMessageW(overlay_, msg, wParam, MAKELPARAM(x, y)); }

    HWND overlay_;
    HWND runner_;
    CaptureShapes& shapes_;
    int w_, h_;
};

// A path sweeping a rectangle of the screen: rows from left to right and back, each joined to
// the next by a run straight down at its end. There are as many rows as a path of the length
// asked for needs, spread evenly over the rectangle's height: a multiple of grid apart and at
// least minSpacing, so that a stroke along the path never meets itself.
class Sweep {
public:
    Sweep(const base::Rect& area, int length, int grid, int minSpacing) : area_(area), row_(area.Width()) {
        const int rows = std::max(2, (length + row_ - 1) / row_);
        spacing_ = std::max(minSpacing, area.Height() / (rows - 1) / grid * grid);
    }

    // Where the path is at distance s from its start; onRow tells whether that is on a row
    // (not on a run down).
    POINT At(int s, bool* onRow = nullptr) const {
        const int period = row_ + spacing_, k = s / period, t = s % period;
        const bool rightwards = k % 2 == 0;
        const int y = area_.top + k * spacing_;
        if (onRow) *onRow = t < row_;
        if (t < row_) return POINT{rightwards ? area_.left + t : area_.right - t, y};
        return POINT{rightwards ? area_.right : area_.left, y + t - row_};
    }

    // The distance of the first corner past s.
    int NextCorner(int s) const {
        const int period = row_ + spacing_, k = s / period, t = s % period;
        return t < row_ ? k * period + row_ : (k + 1) * period;
    }

private:
    base::Rect area_;
    int row_;
    int spacing_ = 0;
};

// The straightforward painter of the long strokes: each frame is composed whole in a buffer the
// size of the screen (the frozen screen, then the shape) and copied whole to the window.
class WholeFramePainter {
public:
    // Takes a copy of the capture's frozen screen; false when the buffers cannot be made.
    bool Create(const uint32_t* frozen, int width, int height) {
        WindowDc screen(nullptr);
        if (!frozen_.Create(screen.Get(), width, height) || !frame_.Create(screen.Get(), width, height)) return false;
        std::copy(frozen, frozen + static_cast<size_t>(width) * height, frozen_.Bits());
        return true;
    }

    // Composes a frame: the frozen screen, then what draw paints onto it.
    void Compose(const std::function<void(HDC)>& draw) {
        BitBlt(frame_.Dc(), 0, 0, frame_.Width(), frame_.Height(), frozen_.Dc(), 0, 0, SRCCOPY);
        draw(frame_.Dc());
        GdiFlush();
    }

    // Composes a frame and copies all of it to the window.
    void Paint(HDC window, const std::function<void(HDC)>& draw) {
        Compose(draw);
        BitBlt(window, 0, 0, frame_.Width(), frame_.Height(), frame_.Dc(), 0, 0, SRCCOPY);
    }

    const DibCanvas& Frame() const { return frame_; }

private:
    DibCanvas frozen_;
    DibCanvas frame_;
};

// Every cell with a brush and a pen of its own, made and deleted for it.
void PaintCellsOneByOne(HDC dc, const MosaicCells& cells) {
    for (const MosaicCell& cell : cells) {
        const base::Rect r = CShapeMosaic::CellRect(cell);
        const RECT rect{r.left, r.top, r.right, r.bottom};
        UniqueBrush brush(CreateSolidBrush(CShapeMosaic::kBlockColor));
        SelectedObject brushIn(dc, brush.Get());
        FillRect(dc, &rect, brush.Get());
        UniquePen pen(CreatePen(PS_SOLID, 1, CShapeMosaic::kOutlineColor));
        SelectedObject penIn(dc, pen.Get());
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
}

// The whole line in one DrawLines, with a Graphics and a Pen made for this paint.
void PaintLineWhole(HDC dc, const CShapeFreeLine& line) {
    const std::vector<base::Point>& points = line.Points();
    if (points.size() < 2) return;
    std::vector<Gdiplus::Point> all;
    all.reserve(points.size());
    for (const base::Point& p : points) all.emplace_back(p.x, p.y);
    Gdiplus::Graphics graphics(dc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    Gdiplus::Pen pen(Gdiplus::Color(line.GetConfig().color), line.GetConfig().lineWidth);
    graphics.DrawLines(&pen, all.data(), static_cast<INT>(all.size()));
}

// How many pixels inside the rectangles differ between two canvases of the same size.
size_t Mismatches(const DibCanvas& a, const DibCanvas& b, const std::vector<base::Rect>& area) {
    const int w = a.Width(), h = a.Height();
    std::vector<uint8_t> inside(static_cast<size_t>(w) * h);
    for (const base::Rect& r : area) {
        const base::Rect c = base::Intersect(r, base::Rect{0, 0, w, h});
        for (int y = c.top; y < c.bottom; ++y) std::fill_n(&inside[static_cast<size_t>(y) * w + c.left], c.Width(), 1);
    }
    size_t differ = 0;
    for (size_t i = 0; i < inside.size(); ++i) {
        if (inside[i] && ((a.Bits()[i] ^ b.Bits()[i]) & 0xFFFFFFu) != 0) ++differ;
    }
    return differ;
}

// The step times of a long stroke, both ways.
struct StrokeTimes {
    std::vector<double> program;
    std::vector<double> whole;
};

// The stroke being drawn goes on to pointAt(1), pointAt(2), …, kStrokeSteps steps per round:
// a round repainted the program's way, then one painted whole by paintWhole, kRounds times.
// check runs once, after the program's first round, before anything else painted the window.
StrokeTimes CompareStrokeSteps(ShapesCapture& bench, const std::function<POINT(int)>& pointAt,
                               const std::function<void(HDC)>& paintWhole, const std::function<void()>& check) {
    StrokeTimes times;
    int next = 1;
    for (int round = 0; round < kRounds; ++round) {
        bench.Run([&] {
            for (int i = 0; i < kStrokeSteps; ++i) {
                const POINT p = pointAt(next++);
                times.program.push_back(bench.TimedStep(p.x, p.y, false));
            }
            if (round == 0) check();
        });
        bench.Run([&] {
            for (int i = 0; i < kStrokeSteps; ++i) times.whole.push_back(bench.TimedStep(pointAt(next++), paintWhole));
        });
    }
    return times;
}

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
    std::atomic<CRectangularSelector*> selector{nullptr};
    std::atomic<bool> ended{false};
    std::thread capture([&] {
        ThreadRunner threadRunner;
        RunRegionCapture(nullptr, shapes, {}, [&](CRectangularSelector& s) {
            runner = threadRunner.Window();
            selector = &s;
            overlay = s.Overlay();
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

    // The straightforward frames of the long strokes, and the window's pixels read back.
    WholeFramePainter whole;
    DibCanvas shown;
    bool painterMade = false;
    bench.Run([&] {
        WindowDc screen(nullptr);
        painterMade = whole.Create(selector.load()->FrozenPixels(), w, h) && shown.Create(screen.Get(), w, h);
    });
    if (!painterMade) {
        std::fprintf(stderr, "no buffers for the straightforward frames\n");
        PostMessageW(overlay, WM_KEYDOWN, VK_ESCAPE, 0);
        capture.join();
        return 1;
    }
    auto reportMismatch = [&](const char* name, size_t differ) {
        if (differ != 0) std::printf("%s_mismatch_%s %zu px\n", name, size, differ);
    };

    // A mosaic of kMosaicCells cells. The path runs through the cells' centres, a whole number of
    // cells apart, so every 10 pixels of it add a cell.
    const int mosaicLeft = kMargin / CShapeMosaic::kBlockSize * CShapeMosaic::kBlockSize + CShapeMosaic::kBlockSize / 2;
    const int mosaicRow = (w - 2 * mosaicLeft) / CShapeMosaic::kBlockSize * CShapeMosaic::kBlockSize;
    const int lastCell = (kMosaicCells - 1) * CShapeMosaic::kBlockSize;
    const Sweep mosaicPath(base::Rect{mosaicLeft, mosaicLeft, mosaicLeft + mosaicRow, h - mosaicLeft},
                           lastCell + kStrokeTravel, CShapeMosaic::kBlockSize, CShapeMosaic::kBlockSize);
    auto mosaic = [&]() -> const CShapeMosaic& { return dynamic_cast<const CShapeMosaic&>(*logic.CurrentShape()); };
    size_t mosaicCells = 0;
    bench.Run([&] {
        bench.UseTool(TOOL_BAR_BTN_TYPE::kMosaic);
        bench.Press(mosaicPath.At(0));
        bench.Update();
        for (int s = 0; s < lastCell;) {
            s = std::min(mosaicPath.NextCorner(s), lastCell);
            bench.MoveTo(mosaicPath.At(s));
            bench.Update();
        }
        mosaicCells = mosaic().Cells().size();
    });
    const StrokeTimes mosaicTimes = CompareStrokeSteps(
        bench, [&](int step) { return mosaicPath.At(lastCell + step * kStrokeStep); },
        [&](HDC window) { whole.Paint(window, [&](HDC dc) { PaintCellsOneByOne(dc, mosaic().Cells()); }); },
        [&] {
            bench.ReadWindow(shown);
            whole.Compose([&](HDC dc) { PaintCellsOneByOne(dc, mosaic().Cells()); });
            std::vector<base::Rect> cells;
            for (const MosaicCell& cell : mosaic().Cells()) cells.push_back(CShapeMosaic::CellRect(cell));
            reportMismatch("mosaic", Mismatches(shown, whole.Frame(), cells));
        });
    bench.Run([&] { bench.EndAndDelete(mosaicPath.At(lastCell + kStrokeTravel)); });

    // A freehand line of kFreehandPoints points: a zigzag along rows far enough apart for the
    // line never to meet itself.
    const int lastPoint = (kFreehandPoints - 1) * kStrokeStep;
    const Sweep linePath(base::Rect{kMargin, kMargin, w - kMargin, h - kMargin}, lastPoint + kStrokeTravel, 1,
                         4 * kZigzag);
    auto linePoint = [&](int i) {
        bool onRow = false;
        POINT p = linePath.At(i * kStrokeStep, &onRow);
        if (onRow) p.y += i % 2 == 0 ? -kZigzag : kZigzag;
        return p;
    };
    auto line = [&]() -> const CShapeFreeLine& { return dynamic_cast<const CShapeFreeLine&>(*logic.CurrentShape()); };
    size_t linePoints = 0;
    bench.Run([&] {
        bench.UseTool(TOOL_BAR_BTN_TYPE::kFreehand);
        bench.Press(linePoint(0));
        bench.Update();
        for (int i = 1; i < kFreehandPoints; ++i) {
            bench.MoveTo(linePoint(i));
            bench.Update();
        }
        linePoints = line().Points().size();
    });
    const StrokeTimes lineTimes = CompareStrokeSteps(
        bench, [&](int step) { return linePoint(kFreehandPoints - 1 + step); },
        [&](HDC window) { whole.Paint(window, [&](HDC dc) { PaintLineWhole(dc, line()); }); },
        [&] {
            bench.ReadWindow(shown);
            whole.Compose([&](HDC dc) { PaintLineWhole(dc, line()); });
            const std::vector<base::Point>& points = line().Points();
            std::vector<base::Rect> reach;
            for (size_t i = 0; i + 1 < points.size(); ++i) {
                reach.push_back(BoundsOf(points[i], points[i + 1], line().Reach()));
            }
            reportMismatch("freehand", Mismatches(shown, whole.Frame(), reach));
        });
    bench.Run([&] { bench.EndAndDelete(linePoint(kFreehandPoints - 1 + kStrokeTravel / kStrokeStep)); });

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

    const double step = Median(stepTimes), wholeStep = Median(wholeTimes);
    std::printf("shape_step_%s %.2f ms\n", size, step);
    std::printf("shape_step_whole_overlay_%s %.2f ms\n", size, wholeStep);
    std::printf("shape_step_%s_ratio %.1f x\n", size, wholeStep / step);
    std::printf("shape_step_dirty_%s %.0f px\n", size, Median(dirtyPixels));
    std::printf("shape_step_dirty_rects_%s %.0f rects\n", size, Median(dirtyRects));
    auto printStroke = [&](const char* name, size_t count, const StrokeTimes& times) {
        const double program = Median(times.program), straightforward = Median(times.whole);
        std::printf("%s_%zu_step_%s %.2f ms\n", name, count, size, program);
        std::printf("%s_%zu_step_straightforward_%s %.2f ms\n", name, count, size, straightforward);
        std::printf("%s_%zu_step_%s_ratio %.1f x\n", name, count, size, straightforward / program);
    };
    printStroke("mosaic_cells", mosaicCells, mosaicTimes);
    printStroke("freehand_points", linePoints, lineTimes);
    std::printf("shape_step_%zu_shapes_%s %.2f ms\n", crowd, size, Median(crowdedTimes));
    std::printf("topmost_at_%zu_shapes_%s %.1f us\n", crowd, size, Median(searches));
    return 0;
}
