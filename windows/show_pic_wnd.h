// CShowPicWnd: a pinned picture, a borderless always-on-top window exactly the size of a saved
// capture, centred at the top of the primary screen, dragged with the left button and closed
// with Escape. For its first seconds a hint bar over the picture counts down. Any number may be
// open; each deletes itself when closed.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui_toolkit/ui_render.h"

// Opens a pinned window for the picture file, shown from picture when it is given (the capture
// just saved it) and read from the file otherwise. False, with no window left behind, when there
// is no picture.
bool ShowPinnedPicture(const std::wstring& picturePath, std::shared_ptr<const DuiLib::UiImage> picture = nullptr);

// Whether a pinned picture of this thread is open.
bool AnyPinnedPictureOpen();
