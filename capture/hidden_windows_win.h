// What the program's windows show on the screen just before a capture hides them, so the grab can
// wait until the screen no longer shows them. Without a compositor (Wine, or Windows 7 without
// Aero) a hidden window's pixels stay until the programs under it repaint, which they do in
// their own time.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// Paints this thread's windows that wait for it (a pinned picture a hide uncovered).
void PaintThisThreadsWindows();

class HiddenWindowsLook {
public:
    HiddenWindowsLook() = default;
    // Reads what each window shows now; call it before hiding them, in the thread's DPI context
    // that WaitUntilGone runs in.
    explicit HiddenWindowsLook(const std::vector<HWND>& windows);

    // Waits, at most timeoutMs, until the screen no longer shows those windows: at most one in
    // twenty of their pixels still as they were (what is under them may match a few).
    void WaitUntilGone(DWORD timeoutMs) const;

private:
    struct Area {
        RECT rect{};
        std::vector<uint32_t> pixels;
    };
    std::vector<Area> areas_;
};
