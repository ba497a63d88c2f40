// CShowPicWnd: a pinned picture, a borderless always-on-top window exactly the size of a saved
// capture, centred at the top of the primary screen, dragged with the left button and closed
// with Escape. For its first seconds a hint bar over the picture counts down. Any number may be
// open; each deletes itself when closed.
#pragma once

#include <windows.h>

#include <string>

// Opens a pinned window for the picture file. False, with no window left behind, when the file
// cannot be read as a picture.
bool ShowPinnedPicture(const std::wstring& picturePath);
