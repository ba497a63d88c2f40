// Helpers of the window tests: picture files to pin, a bounded message pump, the toolkit object
// behind a window, real clicks and typing, and pixels read back from the screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "ui_toolkit/UIlib.h"
#include "windows/modal_dialog.h"

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

// A real left click (SendInput) at the centre of the named control of hwnd's toolkit window;
// false when there is no such control or it is not laid out.
bool ClickControl(HWND hwnd, const wchar_t* name);
// Types text by real keyboard input (SendInput, one Unicode key press per character) into
// whatever has the keyboard focus, and dispatches messages for a while so it arrives.
void TypeText(const std::wstring& text);
// Presses and releases the virtual key through real input, then pumps a moment.
void PressKey(WORD key);

// Creates a program dialog as the program does, minus the modal loop, and brings it to the
// front; null (the object deleted) when no window was made.
HWND OpenDialog(CModalDialog* dialog, HWND owner = nullptr);
// The text of the named control of hwnd's toolkit window, or "<missing>".
std::wstring ControlText(HWND hwnd, const wchar_t* name);
// Whether hwnd is destroyed within five seconds, messages dispatched meanwhile.
bool ClosesSoon(HWND hwnd);

// The colour (0x00RRGGBB) of the screen at (x, y), as the display shows it.
uint32_t ScreenPixel(int x, int y);
