#include "real_input.h"

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(5);
    }
}

bool WaitFor(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Pump(10);
    }
    return true;
}

void Mouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void MoveTo(int x, int y) {
    POINT from;
    GetCursorPos(&from);
    for (int i = 1; i <= 5; ++i) {
        SetCursorPos(from.x + (x - from.x) * i / 5, from.y + (y - from.y) * i / 5);
        Mouse(MOUSEEVENTF_MOVE);
        Pump(40);
    }
    Pump(120);
}

void ClickAt(int x, int y) {
    MoveTo(x, y);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Pump(60);
    Mouse(MOUSEEVENTF_LEFTUP);
    Pump(100);
}
