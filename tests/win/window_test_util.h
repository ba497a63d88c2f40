// Helpers of the window tests: picture files to pin, a bounded message pump, the toolkit object
// behind a window, and pixels read back from the screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "ui_toolkit/UIlib.h"

// Writes a width x height PNG filled with one colour (0x00RRGGBB) through the program's writer.
bool WriteSolidPng(const std::wstring& path, int width, int height, uint32_t rgb);

// Dispatches this thread's messages until done() holds or timeoutMs passed; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Dispatches this thread's messages for about ms milliseconds.
void PumpFor(DWORD ms);

// The toolkit window object that owns hwnd, or null.
DuiLib::WindowImplBase* ToolkitWindow(HWND hwnd);
// A control of that window by name, or null.
DuiLib::CControlUI* FindControlOf(HWND hwnd, const wchar_t* name);

// The colour (0x00RRGGBB) of the screen at (x, y), as the display shows it.
uint32_t ScreenPixel(int x, int y);
