// The DPI awareness of a thread, and the DPI of windows and monitors, through the system's
// functions looked up at run time: where the system lacks them, nothing changes and every DPI
// reads 96.
#pragma once

#include <windows.h>

#include <vector>

#include "base/dpi_scale.h"

enum class DpiMode {
    kUnaware,     // 96-DPI coordinates; the system scales the windows
    kPerMonitor,  // physical pixels, per monitor (version 2 where the system has it)
};

// Sets the calling thread's awareness for good (a thread that runs in one mode throughout).
// False when the system cannot.
bool SetThreadDpiMode(DpiMode mode);

// Sets the calling thread's awareness for a scope and puts the old one back.
class ThreadDpiScope {
public:
    explicit ThreadDpiScope(DpiMode mode);
    ~ThreadDpiScope();
    ThreadDpiScope(const ThreadDpiScope&) = delete;
    ThreadDpiScope& operator=(const ThreadDpiScope&) = delete;

private:
    HANDLE previous_ = nullptr;
};

// The window's DPI (96 for an unaware one); 96 where the system cannot tell.
int WindowDpi(HWND window);

// Whether the window was made in an unaware context; false where the system cannot tell.
bool WindowIsDpiUnaware(HWND window);

// Every monitor with its rectangle and DPI, in the calling thread's coordinates.
std::vector<base::ScaledMonitor> ScaledMonitors();
