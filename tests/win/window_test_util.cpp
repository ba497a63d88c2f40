#include "window_test_util.h"

#include <vector>

#include "base/dib_canvas.h"
#include "base/unique_handle.h"
#include "picture_files.h"

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

namespace {

void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

}  // namespace

bool ClickControl(HWND hwnd, const wchar_t* name) {
    DuiLib::CControlUI* control = FindControlOf(hwnd, name);
    if (!control) return false;
    const RECT pos = control->GetPos();
    // Not laid out yet: a press there could land on the caption and start the system's move loop.
    if (IsRectEmpty(&pos)) return false;
    POINT centre{(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2};
    ClientToScreen(hwnd, &centre);
    // Two moves, so the control sees the pointer arrive and becomes hot, then press and release.
    SetCursorPos(centre.x - 2, centre.y - 2);
    SendMouse(MOUSEEVENTF_MOVE);
    PumpFor(60);
    SetCursorPos(centre.x, centre.y);
    SendMouse(MOUSEEVENTF_MOVE);
    PumpFor(60);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    PumpFor(60);
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpFor(150);
    return true;
}

void TypeText(const std::wstring& text) {
    std::vector<INPUT> keys;
    for (wchar_t c : text) {
        INPUT key{};
        key.type = INPUT_KEYBOARD;
        key.ki.wScan = c;
        key.ki.dwFlags = KEYEVENTF_UNICODE;
        keys.push_back(key);
        key.ki.dwFlags |= KEYEVENTF_KEYUP;
        keys.push_back(key);
    }
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    PumpFor(300);
}

void PressKey(WORD key) {
    INPUT keys[2] = {};
    for (INPUT& input : keys) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    PumpFor(200);
}

HWND OpenDialog(CModalDialog* dialog, HWND owner) {
    HWND hwnd = dialog->CreateCentred(owner, L"dialog");
    if (!hwnd) delete dialog;
    SetForegroundWindow(hwnd);
    PumpFor(150);
    return hwnd;
}

std::wstring ControlText(HWND hwnd, const wchar_t* name) {
    DuiLib::CControlUI* control = FindControlOf(hwnd, name);
    return control ? control->GetText().Str() : L"<missing>";
}

bool ClosesSoon(HWND hwnd) {
    return PumpUntil([&] { return !IsWindow(hwnd); }, 5000);
}

uint32_t ScreenPixel(int x, int y) {
    WindowDc screen(nullptr);
    const COLORREF c = GetPixel(screen.Get(), x, y);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}
