// How a paint of the overlay splits the area to paint: what lies outside the chrome (the
// selection, its label, the magnifier, annotations) is copied from the plain screen as it is,
// what lies inside is composed in the back buffer first.
#pragma once

#include <windows.h>

#include <vector>

struct UpdateSplit {
    std::vector<RECT> plain;     // to copy from the plain screen
    std::vector<RECT> composed;  // to compose, then copy; painted after the plain ones
};

// The rectangles of dirty outside and inside chrome. A part made of more than maxRects
// rectangles is given as its bounds, so that every pixel of dirty is painted; the composed
// rectangles are painted last and so win where a plain bound covers chrome.
UpdateSplit SplitUpdate(HRGN dirty, HRGN chrome, DWORD maxRects = 256);
