// How every read of the screen copies it: with CAPTUREBLT, which also takes the layered windows
// (tooltips, translucent and per-pixel-alpha windows) that Windows 7 leaves out of a plain
// SRCCOPY from the screen.
#pragma once

#include <windows.h>

constexpr DWORD kScreenCopyRop = SRCCOPY | CAPTUREBLT;
