// The calling thread's message loop: gets, translates and dispatches messages until WM_QUIT
// (or an error) ends it; and a wait that keeps the thread's windows answering.
#pragma once

#include <functional>

void RunMessageLoop();

// Dispatches the thread's messages until done() holds, checking it after every message and at
// least every pollMs. A WM_QUIT met meanwhile is posted again once done, so the loop it was
// meant for still ends. A UI thread waits this way, never by blocking: Windows calls a window
// that has not taken its messages for five seconds "not responding", and a program that
// broadcasts with SendMessage waits for it.
void PumpMessagesUntil(const std::function<bool()>& done, unsigned pollMs = 50);
