// How long the toolkit takes to build a window of the main window's size from its layout and
// paint it once. Prints "name value unit" lines: the first (cold) build, which decodes the
// images, and the median of the warm builds that follow.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/gdiplus_session.h"
#include "bench/bench_skin.h"
#include "ui_toolkit/UIlib.h"

namespace {

class BenchWindow : public DuiLib::WindowImplBase {
public:
    LPCTSTR GetWindowClassName() const override { return L"ToolkitBenchWnd"; }
    DuiLib::CDuiString GetSkinFile() override { return L"bench_window.xml"; }
    void OnFinalMessage(HWND hWnd) override {
        WindowImplBase::OnFinalMessage(hWnd);
        delete this;
    }
};

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

double BuildAndPaintOnce() {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    auto* window = new BenchWindow;
    HWND hwnd = window->Create(nullptr, L"bench", WS_POPUP, WS_EX_TOOLWINDOW, 50, 50, 800, 600);
    window->GetPaintManager()->Paint(nullptr);
    QueryPerformanceCounter(&end);
    DestroyWindow(hwnd);
    return Milliseconds(start, end);
}

}  // namespace

int main() {
    GdiplusSession gdiplus;
    if (!LoadBenchSkin()) return 1;
    const double cold = BuildAndPaintOnce();
    std::vector<double> warm;
    for (int i = 0; i < 31; ++i) warm.push_back(BuildAndPaintOnce());
    std::sort(warm.begin(), warm.end());
    std::printf("toolkit_build_paint_605x127_cold %.2f ms\n", cold);
    std::printf("toolkit_build_paint_605x127_median %.2f ms\n", warm[warm.size() / 2]);
    std::printf("toolkit_build_paint_605x127_min %.2f ms\n", warm.front());
    return 0;
}
