// Pinning a large capture: the time from the call until the pinned window is shown and painted,
// and the private memory the open window adds to the process (median of several pins). As in
// the program, the capture's bitmap is handed over in memory (its conversion is timed too); the
// same pin read back from the saved file is timed beside it.
// Prints "name value unit" lines.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/gdiplus_session.h"
#include "base/unique_handle.h"
#include "bench/bench_util.h"
#include "tests/win/window_test_util.h"
#include "bench/bench_skin.h"
#include "windows/show_pic_wnd.h"

namespace {

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;
constexpr int kRuns = 7;



// The private bytes committed to the process (Wine reports no PrivateUsage; this is the same
// commit charge on Windows).
size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

HWND PinnedWindow() { return FindWindowW(L"CShowPicWnd", L"picWnd"); }

// A capture's bitmap of one colour.
HBITMAP SolidBitmap(int width, int height, COLORREF colour) {
    WindowDc screen(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen.Get(), width, height);
    UniqueDc dc(CreateCompatibleDC(screen.Get()));
    if (!bitmap || !dc) return bitmap;
    SelectedObject selected(dc.Get(), bitmap);
    UniqueBrush brush(CreateSolidBrush(colour));
    RECT all{0, 0, width, height};
    FillRect(dc.Get(), &all, brush.Get());
    return bitmap;
}

// Pins the picture (from the bitmap when one is given) and waits until its window is painted.
HWND PinAndPaint(const std::wstring& path, HBITMAP bitmap = nullptr) {
    if (!ShowPinnedPicture(path, bitmap ? DuiLib::ImageFromBitmap(bitmap) : nullptr)) return nullptr;
    HWND hwnd = PinnedWindow();
    if (hwnd) UpdateWindow(hwnd);
    return hwnd;
}

void Close(HWND hwnd) {
    DestroyWindow(hwnd);
    PumpUntil([] { return PinnedWindow() == nullptr; }, 10000);
}

}  // namespace

int main() {
    GdiplusSession gdiplus;
    if (!LoadBenchSkin()) return 1;
    const std::wstring big = TempPath(L"pin_bench_big.png");
    const std::wstring small = TempPath(L"pin_bench_small.png");
    if (!WriteSolidPng(big, kWidth, kHeight, 0x3080C0) || !WriteSolidPng(small, 320, 200, 0x3080C0)) {
        std::fprintf(stderr, "cannot write the pictures\n");
        return 1;
    }
    // A first, small pin loads the layout, the window classes and the fonts.
    Close(PinAndPaint(small));

    UniqueBitmap capture(SolidBitmap(kWidth, kHeight, RGB(0xC0, 0x80, 0x30)));
    std::vector<double> shown, added, fromFile;
    for (int run = 0; run < kRuns; ++run) {
        PumpFor(50);
        const double f0 = Now();
        HWND read = PinAndPaint(big);
        fromFile.push_back(Now() - f0);
        if (read) Close(read);
        PumpFor(50);
        const size_t before = PrivateBytes();
        const double t0 = Now();
        HWND hwnd = PinAndPaint(big, capture.Get());
        const double t1 = Now();
        if (!hwnd) {
            std::fprintf(stderr, "the picture was not pinned\n");
            return 1;
        }
        PumpFor(50);
        added.push_back((static_cast<double>(PrivateBytes()) - static_cast<double>(before)) / 1048576.0);
        shown.push_back(t1 - t0);
        Close(hwnd);
    }
    DeleteFileW(big.c_str());
    DeleteFileW(small.c_str());
    const double pictureMb = kWidth * kHeight * 4.0 / 1048576.0;
    std::printf("pin_shown_%dx%d %.1f ms\n", kWidth, kHeight, Median(shown));
    std::printf("pin_shown_from_file_%dx%d %.1f ms\n", kWidth, kHeight, Median(fromFile));
    std::printf("pin_private_%dx%d %.1f MB\n", kWidth, kHeight, Median(added));
    std::printf("pin_private_%dx%d_pictures %.2f x\n", kWidth, kHeight, Median(added) / pictureMb);
    return 0;
}
