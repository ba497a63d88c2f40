// Toasts: small dark, always-on-top windows that show one line of text for a while and close
// themselves without ever taking the keyboard focus. Each toast is independent; several may be
// on screen at once.
#pragma once

#include <windows.h>

#include <string>

#include "windows/toast_position.h"

// Shows text for milliseconds in a toast owned by parent (which may be null), centred in the work
// area or at its bottom right. Returns at once; the toast deletes itself when it closes.
void ShowToast(const std::wstring& text, UINT milliseconds, HWND parent, bool centred);

// Closes at once every toast of the calling thread (before a screen grab).
void CloseToasts();
