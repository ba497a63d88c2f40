// Putting a picture or a text on the clipboard. Each call opens the clipboard, empties it, sets
// one format and closes it again; false when any step fails.
#pragma once

#include <windows.h>

#include <string>

// On success the clipboard owns the bitmap; on failure the caller still does.
bool PutBitmapOnClipboard(HBITMAP image);

// The text as CF_UNICODETEXT.
bool PutTextOnClipboard(const std::wstring& text);
