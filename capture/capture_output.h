// What a capture produces: numbered picture files (BMP or PNG) in the picture folder, a bitmap
// on the clipboard, the picture folder opened in the file manager, and the full-screen capture.
// Every write reports whether it succeeded; a failed write leaves no partial file behind. None of
// these records anything in the application context: the code handling the user's action does.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/app_messages.h"
#include "base/unique_handle.h"
#include "capture/hidden_windows_win.h"
#include "settings/pic_save_format.h"

// Where a capture's picture is saved.
struct PictureTarget {
    std::wstring folder;
    PicSaveFormat format = PicSaveFormat::kPng;
};

// A picture's pixels, rows top down, each 0x00RRGGBB: what the files are written from, on any
// thread.
struct PixelPicture {
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
};

// The bitmap's pixels; false when it cannot be read or memory runs out.
bool ReadPixels(HBITMAP image, PixelPicture& picture);

// Writes the picture in the format (BMP: 24-bit bottom-up with a 54-byte header; PNG: our own
// encoder, 8-bit RGB), replacing any file at path.
bool WritePictureFile(HBITMAP image, const std::wstring& path, PicSaveFormat format);

// What became of a save: the new file's path, or empty and the failure bits of
// base/capture_failures.h (kCaptureFileNotWritten, with the reason where it is known).
struct SaveOutcome {
    std::wstring path;
    unsigned failed = 0;
};

// The failure bits for a save into folder that failed with the system's error: the reason where
// it is known, a file standing where the folder should be, and access refused in a folder that
// Controlled Folder Access guards.
unsigned SaveFailureIn(const std::wstring& folder, DWORD error);

// Saves the picture as a new numbered picture in folder (created when missing, last level only).
// An existing file is never replaced: when the numbered name is taken by the time the file is
// made, the next number is tried.
SaveOutcome SavePicture(const std::wstring& folder, PicSaveFormat format, const PixelPicture& picture);
// The same from a bitmap; the saved file's path, empty when nothing was saved.
std::wstring SavePicture(const std::wstring& folder, PicSaveFormat format, HBITMAP image);

// Shows the folder in the file manager.
bool OpenPictureFolder(const std::wstring& folder);

// The whole virtual screen, as a bitmap compatible with the screen; null on failure. Waits for
// the compositor first, so a window that is still fading out is not in the picture.
HBITMAP GrabVirtualScreen();


// What became of a picture's outputs.
struct CaptureDelivery {
    std::wstring path;  // the saved picture; empty when nothing was saved
    bool saved = false;
    bool copied = false;
    LPARAM failed = 0;  // the outputs asked for that failed: kCaptureFileNotWritten, kCaptureClipboardNotSet
};
using FullScreenCaptureResult = CaptureDelivery;

// Saves image as a new numbered picture in folder (when save) and then puts it on the clipboard
// (when copy, or when it could not be saved: kCaptureCopiedInstead); the file is written first
// because the clipboard owns the bitmap once it is set, and then image no longer holds it. A null
// image fails every output asked for.
CaptureDelivery DeliverPicture(UniqueBitmap& image, bool save, bool copy, const std::wstring& folder,
                               PicSaveFormat format);

// Puts the picture on the clipboard as a bitmap; false when it cannot.
bool CopyPixelsToClipboard(const PixelPicture& picture);

// Saves the whole virtual screen as a new numbered picture in folder and puts it on the
// clipboard, then posts WM_FULLSCREEN_CAPTURE_DONE to requester (when given) in every case, its
// lParam telling what failed. The screen is read once it no longer shows the windows hidden for
// the capture (a second at most).
FullScreenCaptureResult CaptureFullScreen(const std::wstring& folder, PicSaveFormat format, HWND requester,
                                          const HiddenWindowsLook& hidden = HiddenWindowsLook{});
