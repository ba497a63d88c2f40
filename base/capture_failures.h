// What a capture could not make, as its result message's lParam says: 0 when every output the
// action asked for succeeded, else these bits. Pure code.
#pragma once

constexpr unsigned kCaptureFileNotWritten = 1;
constexpr unsigned kCaptureClipboardNotSet = 2;
// Not in the message: the main window could not show a saved picture pinned.
constexpr unsigned kCapturePinNotShown = 4;
// Why a picture was not written, when that is known, beside kCaptureFileNotWritten.
constexpr unsigned kCaptureFolderMissing = 8;
constexpr unsigned kCaptureNoPermission = 16;
constexpr unsigned kCaptureDiskFull = 32;
// A picture that could not be written was put on the clipboard instead, so it is not lost.
constexpr unsigned kCaptureCopiedInstead = 64;
// Beside kCaptureNoPermission: access was refused in one of the user's folders that Windows'
// Controlled Folder Access guards, which refuses programs it does not know.
constexpr unsigned kCaptureProtectedFolder = 128;
// Instead of kCaptureFolderMissing: a file stands where the folder (or one of its parents) should be.
constexpr unsigned kCaptureFileInTheWay = 256;
