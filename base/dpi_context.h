// The DPI awareness of a thread, and the DPI of windows and monitors, through the system's
// functions looked up at run time: where the system lacks them, threads keep the process's
// awareness, windows read 96 DPI and monitors the system's DPI.
#pragma once

#include <windows.h>

#include <vector>

#include "base/dpi_scale.h"

enum class DpiMode {
    kUnaware,     // 96-DPI coordinates; the system scales the windows
    kPerMonitor,  // physical pixels, per monitor (version 2 where the system has it)
};

// Makes the calling (first) thread unaware, so the program's windows are drawn for 96 DPI and
// scaled by the system. Where threads cannot choose (Windows 7, 8.1 and 10 before 1607), the whole
// process is made aware instead, per monitor where the system can, so that the screen is read in
// physical pixels; the windows are then drawn at 96 DPI unscaled: small but sharp.
void SetUpProcessDpi();

// Whether threads can choose their awareness, so that unaware windows are scaled by the system
// while the capture works in physical pixels. False in a process made aware as a whole.
bool ThreadsChooseDpiAwareness();

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

// The DPI of the monitor at the point (in the calling thread's coordinates), or the nearest one; 96
// where the system cannot tell.
int DpiAtScreenPoint(POINT point);

// Whether the window was made in an unaware context; false where the system cannot tell.
bool WindowIsDpiUnaware(HWND window);

// Every monitor with its rectangle and DPI, in the calling thread's coordinates.
std::vector<base::ScaledMonitor> ScaledMonitors();
