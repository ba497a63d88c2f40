#include "window_test_util.h"

#include "base/dib_canvas.h"
#include "base/unique_handle.h"
#include "capture/capture_output.h"

bool WriteSolidPng(const std::wstring& path, int width, int height, uint32_t rgb) {
    uint32_t* bits = nullptr;
    UniqueBitmap bitmap(CreateTopDownDib(nullptr, width, height, &bits));
    if (!bitmap) return false;
    std::fill(bits, bits + static_cast<size_t>(width) * height, 0xFF000000u | rgb);
    return WritePngFile(bitmap.Get(), path);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeoutMs) return done();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

DuiLib::WindowImplBase* ToolkitWindow(HWND hwnd) {
    if (!IsWindow(hwnd)) return nullptr;
    auto* window = reinterpret_cast<DuiLib::CWindowWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return dynamic_cast<DuiLib::WindowImplBase*>(window);
}

DuiLib::CControlUI* FindControlOf(HWND hwnd, const wchar_t* name) {
    DuiLib::WindowImplBase* window = ToolkitWindow(hwnd);
    return window ? window->GetPaintManager()->FindControl(name) : nullptr;
}

uint32_t ScreenPixel(int x, int y) {
    WindowDc screen(nullptr);
    const COLORREF c = GetPixel(screen.Get(), x, y);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}
