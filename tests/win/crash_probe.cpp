// Installs the program's crash filter and then faults, so a test can look at the dump it left
// and at the two lines it printed. With the argument "overflow" the fault is a stack overflow;
// with "4k" the process first holds what a capture of a 3840 x 2160 screen holds; with "two"
// two threads fault at the same moment.
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <vector>

#include "app/crash_dump_win.h"

namespace {

// Deep enough to pass any stack; the frame's bytes are used after the call, so it is no loop.
__attribute__((noinline)) int Recurse(int depth, volatile const int& limit) {
    volatile char frame[4096];
    frame[0] = static_cast<char>(depth);
    if (depth > limit) return frame[0];  // never: no stack holds that many frames
    return Recurse(depth + 1, limit) + frame[0];
}

HANDLE g_go = nullptr;

DWORD WINAPI FaultWhenTold(void*) {
    WaitForSingleObject(g_go, INFINITE);
    volatile int* nowhere = nullptr;
    *nowhere = 2;
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    InstallCrashFilter();
    const bool overflow = argc > 1 && std::wcscmp(argv[1], L"overflow") == 0;
    std::vector<std::vector<char>> capture;
    if (argc > 1 && std::wcscmp(argv[1], L"4k") == 0) {
        // The frozen screen, its dimmed copy and the back buffer, 32 bits per pixel.
        for (int i = 0; i < 3; ++i) capture.emplace_back(static_cast<size_t>(3840) * 2160 * 4, static_cast<char>(i + 1));
    }
    const volatile int limit = 1 << 30;
    if (overflow) return Recurse(0, limit);
    if (argc > 1 && std::wcscmp(argv[1], L"two") == 0) {
        g_go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE threads[2] = {CreateThread(nullptr, 0, FaultWhenTold, nullptr, 0, nullptr),
                             CreateThread(nullptr, 0, FaultWhenTold, nullptr, 0, nullptr)};
        Sleep(100);
        SetEvent(g_go);
        WaitForMultipleObjects(2, threads, TRUE, INFINITE);
        return 0;
    }
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    return 0;
}
