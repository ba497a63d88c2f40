// Turning off the compositor's fade of a window, so that a window hidden just before the screen
// is grabbed is really gone from the picture. Desktop composition is asked for by name at run
// time: on systems (or Wine) without it these calls do nothing.
#pragma once

#include <windows.h>

// Shows and hides of the window happen at once, without the compositor's transition.
void DisableWindowTransitions(HWND window);

// Waits until the compositor has put the last changes on the screen. False when there is no
// compositor (composition off, or Wine): windows uncovered by a hide then repaint themselves,
// each in its own time.
bool FlushCompositor();
