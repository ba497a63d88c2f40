// What a capture produces: numbered picture files (BMP or PNG) in the picture folder, a bitmap
// on the clipboard, the picture folder opened in the file manager, and the full-screen capture.
// Every write reports whether it succeeded; a failed write leaves no partial file behind.
#pragma once

#include <windows.h>

#include <string>

#include "base/app_messages.h"

// The next free numbered name in folder (created when missing, last level only), with the
// extension ("png" or "bmp"). Stored as the application context's last picture path. Empty when
// the folder cannot be created.
std::wstring BuildPictureFileName(const std::wstring& folder, const std::wstring& extension);

// 24-bit bottom-up BMP, 54-byte header.
bool WriteBmpFile(HBITMAP image, const std::wstring& path);
// PNG through the GDI+ encoder.
bool WritePngFile(HBITMAP image, const std::wstring& path);
// Writes as PNG when the extension of path is ".png", else as BMP.
bool WritePictureFile(HBITMAP image, const std::wstring& path);

// Shows the folder in the file manager.
bool OpenPictureFolder(const std::wstring& folder);

// The whole virtual screen, as a bitmap compatible with the screen; null on failure.
HBITMAP GrabVirtualScreen();

struct FullScreenCaptureResult {
    std::wstring path;  // empty when no name could be built
    bool saved = false;
    bool copied = false;
};

// Saves the whole virtual screen to a new numbered file in folder (PNG when pngFormat) and puts
// it on the clipboard, then posts WM_FULLSCREEN_CAPTURE_DONE to requester (when given) in every
// case.
FullScreenCaptureResult CaptureFullScreen(const std::wstring& folder, bool pngFormat, HWND requester);
