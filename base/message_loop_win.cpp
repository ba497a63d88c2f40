#include <windows.h>

#include "base/message_loop.h"

void RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void PumpMessagesUntil(const std::function<bool()>& done, unsigned pollMs) {
    bool quit = false;
    int quitCode = 0;
    while (!done()) {
        MsgWaitForMultipleObjectsEx(0, nullptr, pollMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = static_cast<int>(msg.wParam);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (done()) break;
        }
    }
    if (quit) PostQuitMessage(quitCode);
}
