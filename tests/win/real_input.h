// Real pointer input for the Windows tests (SendInput and SetCursorPos, as a hand would give it)
// and bounded waits that keep the calling thread's windows answering.
#pragma once

#include <windows.h>

#include <functional>

// Dispatches this thread's messages for ms milliseconds.
void Pump(DWORD ms);
// Pumps until done() holds; false after ms milliseconds.
bool WaitFor(const std::function<bool()>& done, DWORD ms = 5000);
// One real mouse event (SendInput) with these flags.
void Mouse(DWORD flags);
// Moves the real pointer in steps, as a hand would, so the poller sees it move.
void MoveTo(int x, int y);
// A real left click at the screen point.
void ClickAt(int x, int y);
