// The calling thread's message loop: gets, translates and dispatches messages until WM_QUIT
// (or an error) ends it.
#pragma once

void RunMessageLoop();
