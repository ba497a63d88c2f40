#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <ctime>
#include <optional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/screen_copy.h"
#include "base/command_line_argument.h"
#include "base/window_transitions.h"
#include "base/clipboard.h"
#include "base/dpi_context.h"
#include "base/file_io.h"
#include "base/folder_path.h"
#include "base/known_folders.h"
#include "base/unique_handle.h"
#include "base/capture_failures.h"
#include "capture/bmp_format.h"
#include "capture/png_format.h"
#include "capture/capture_output.h"
#include "capture/picture_name.h"

namespace {

// How many numbers one save tries before it gives up.
constexpr int kMaxSaveAttempts = 100;

std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    return local;
}

// 24-bit bottom-up rows, each padded to four bytes, after the 54-byte header.
bool EncodeBmp(const PixelPicture& picture, std::string& bytes) {
    // A picture whose file size the header cannot hold is not written (nor miscounted).
    const std::optional<uint32_t> size = BmpFileSize(picture.width, picture.height);
    if (!size) return false;
    const auto header = BmpHeader(picture.width, picture.height);
    bytes.assign(header.begin(), header.end());
    bytes.resize(*size);
    const size_t rowBytes = (static_cast<size_t>(picture.width) * 3 + 3) & ~size_t{3};
    for (int y = 0; y < picture.height; ++y) {
        const uint32_t* pixel = &picture.pixels[static_cast<size_t>(picture.height - 1 - y) * picture.width];
        char* out = &bytes[kBmpHeaderSize + static_cast<size_t>(y) * rowBytes];
        for (int x = 0; x < picture.width; ++x) {
            *out++ = static_cast<char>(pixel[x]);
            *out++ = static_cast<char>(pixel[x] >> 8);
            *out++ = static_cast<char>(pixel[x] >> 16);
        }
    }
    return true;
}

bool EncodePicture(const PixelPicture& picture, PicSaveFormat format, std::string& bytes) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height) {
        return false;
    }
    // A picture too large for memory is a picture not written, never the end of the program.
    try {
        if (format == PicSaveFormat::kBmp) return EncodeBmp(picture, bytes);
        bytes = EncodePng(PngPicture{picture.pixels.data(), picture.width, picture.height,
                                     static_cast<size_t>(picture.width), false});
        return !bytes.empty();
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    bytes.clear();
    return false;
}

// The failure bits for a file system error: the reason where it is one a user can act on.
unsigned SaveFailureFor(DWORD error) {
    switch (error) {
        case ERROR_PATH_NOT_FOUND:
        case ERROR_FILE_NOT_FOUND:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_NOT_READY:
        case ERROR_DIRECTORY:
            return kCaptureFileNotWritten | kCaptureFolderMissing;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return kCaptureFileNotWritten | kCaptureNoPermission;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return kCaptureFileNotWritten | kCaptureDiskFull;
        default: return kCaptureFileNotWritten;
    }
}

// Whether the nearest part of the path that exists, the folder itself or one of its parents,
// is a file: then the folder cannot be made, though nothing is missing.
bool FileStandsInPlaceOf(std::wstring folder) {
    while (!folder.empty()) {
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
        const size_t separator = folder.find_last_of(L"\\/");
        if (separator == std::wstring::npos) return false;
        folder.resize(separator);
    }
    return false;
}

}  // namespace

// The same for a save into folder: access refused in a folder Controlled Folder Access guards
// says so too, since the user sees nothing wrong with the folder itself; a folder said missing
// because a file has its name says that instead.
unsigned SaveFailureIn(const std::wstring& folder, DWORD error) {
    unsigned failed = SaveFailureFor(error);
    if ((failed & kCaptureFolderMissing) && FileStandsInPlaceOf(folder)) {
        failed = (failed & ~kCaptureFolderMissing) | kCaptureFileInTheWay;
    }
    if (error == ERROR_ACCESS_DENIED) {
        const std::vector<std::wstring> guarded = ProtectedUserFolders();
        if (std::any_of(guarded.begin(), guarded.end(),
                        [&folder](const std::wstring& parent) { return IsInsideFolder(folder, parent); })) {
            failed |= kCaptureProtectedFolder;
        }
    }
    return failed;
}

bool ReadPixels(HBITMAP image, PixelPicture& picture) {
    BITMAP info{};
    if (!image || !GetObjectW(image, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
    try {
        picture.pixels.assign(static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight), 0);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    picture.width = info.bmWidth;
    picture.height = info.bmHeight;
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = picture.width;
    request.bmiHeader.biHeight = -picture.height;  // top-down
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    WindowDc screen(nullptr);
    if (GetDIBits(screen.Get(), image, 0, static_cast<UINT>(picture.height), picture.pixels.data(), &request,
                  DIB_RGB_COLORS) != picture.height) {
        picture = PixelPicture{};
        return false;
    }
    return true;
}

bool WritePictureFile(HBITMAP image, const std::wstring& path, PicSaveFormat format) {
    PixelPicture picture;
    std::string bytes;
    return !path.empty() && ReadPixels(image, picture) && EncodePicture(picture, format, bytes) &&
           WriteFileAtomically(path, bytes);
}

SaveOutcome SavePicture(const std::wstring& folder, PicSaveFormat format, const PixelPicture& picture) {
    SaveOutcome outcome;
    if (!MakeFolder(folder)) {
        outcome.failed = SaveFailureIn(folder, GetLastError());
        return outcome;
    }
    std::string bytes;
    if (!EncodePicture(picture, format, bytes)) {
        outcome.failed = kCaptureFileNotWritten;
        return outcome;
    }
    const std::tm now = LocalNow();
    long long number = NextPictureNumber(FolderEntryNames(folder));
    // Another save may take the number between the scan and the write: then the next one.
    for (int attempt = 0; attempt < kMaxSaveAttempts; ++attempt, ++number) {
        const std::wstring path = FormatPictureName(folder, number, now, PictureExtension(format));
        switch (WriteNewFileAtomically(path, bytes)) {
            case NewFileResult::kWritten: outcome.path = path; return outcome;
            case NewFileResult::kExists: break;
            case NewFileResult::kFailed: outcome.failed = SaveFailureIn(folder, GetLastError()); return outcome;
        }
    }
    outcome.failed = kCaptureFileNotWritten;
    return outcome;
}

std::wstring SavePicture(const std::wstring& folder, PicSaveFormat format, HBITMAP image) {
    PixelPicture picture;
    if (!ReadPixels(image, picture)) return std::wstring();
    return SavePicture(folder, format, picture).path;
}

bool CopyPixelsToClipboard(const PixelPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height) {
        return false;
    }
    // A bitmap compatible with the screen, as the clipboard gets from a capture's copy.
    WindowDc screen(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), picture.width, picture.height));
    BITMAPINFO source{};
    source.bmiHeader.biSize = sizeof source.bmiHeader;
    source.bmiHeader.biWidth = picture.width;
    source.bmiHeader.biHeight = -picture.height;
    source.bmiHeader.biPlanes = 1;
    source.bmiHeader.biBitCount = 32;
    source.bmiHeader.biCompression = BI_RGB;
    if (!bitmap || SetDIBits(screen.Get(), bitmap.Get(), 0, static_cast<UINT>(picture.height), picture.pixels.data(),
                             &source, DIB_RGB_COLORS) != picture.height) {
        return false;
    }
    if (!PutBitmapOnClipboard(bitmap.Get())) return false;
    bitmap.Release();  // the clipboard owns it now
    return true;
}

bool OpenPictureFolder(const std::wstring& folder) {
    // Quoted: explorer would read a comma in the name as the end of the path and the start of a
    // switch.
    const std::wstring argument = QuotedPathArgument(folder);
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", L"explorer", argument.c_str(), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

namespace {

constexpr DWORD kUncoveredRepaintMs = 100;
constexpr DWORD kHiddenGoneWaitMs = 1000;

// Lets the windows that a hide uncovered repaint: other programs' do it on their own, this
// thread's (a pinned picture) are painted here. Only paint messages are handled meanwhile.
void LetUncoveredWindowsRepaint() {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kUncoveredRepaintMs) {
        PaintThisThreadsWindows();
        Sleep(10);
    }
}

}  // namespace

HBITMAP GrabVirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (width <= 0 || height <= 0) return nullptr;
    // Without a compositor the windows under the ones just hidden need a moment to repaint the
    // uncovered area; otherwise the hidden windows would still be in the picture.
    if (!FlushCompositor()) LetUncoveredWindowsRepaint();
    UniqueDc display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    if (!display) return nullptr;
    UniqueDc memory(CreateCompatibleDC(display.Get()));
    if (!memory) return nullptr;
    UniqueBitmap bitmap(CreateCompatibleBitmap(display.Get(), width, height));
    if (!bitmap) return nullptr;
    {
        SelectedObject selected(memory.Get(), bitmap.Get());
        if (!BitBlt(memory.Get(), 0, 0, width, height, display.Get(), left, top, kScreenCopyRop)) return nullptr;
    }
    return bitmap.Release();
}

CaptureDelivery DeliverPicture(UniqueBitmap& image, bool save, bool copy, const std::wstring& folder,
                               PicSaveFormat format) {
    CaptureDelivery result;
    if (save && image) {
        PixelPicture picture;
        const SaveOutcome saved =
            ReadPixels(image.Get(), picture) ? SavePicture(folder, format, picture) : SaveOutcome{};
        result.path = saved.path;
        result.saved = !result.path.empty();
        result.failed |= saved.failed;
    }
    // A picture that could not be saved goes on the clipboard all the same: it is not lost.
    const bool copyInstead = save && !result.saved && !copy;
    if ((copy || copyInstead) && image) {
        result.copied = PutBitmapOnClipboard(image.Get());
        if (result.copied) image.Release();  // the clipboard owns it now
    }
    if (save && !result.saved) result.failed |= kCaptureFileNotWritten;
    if (copyInstead && result.copied) result.failed |= kCaptureCopiedInstead;
    if (copy && !result.copied) result.failed |= kCaptureClipboardNotSet;
    return result;
}

FullScreenCaptureResult CaptureFullScreen(const std::wstring& folder, PicSaveFormat format, HWND requester,
                                          const HiddenWindowsLook& hidden) {
    // In the caller's DPI context, as the look was taken.
    hidden.WaitUntilGone(kHiddenGoneWaitMs);
    UniqueBitmap screen;
    {
        // The screen's physical pixels, whatever the calling thread's awareness.
        ThreadDpiScope perMonitor(DpiMode::kPerMonitor);
        screen.Reset(GrabVirtualScreen());
    }
    const FullScreenCaptureResult result = DeliverPicture(screen, true, true, folder, format);
    if (requester) PostMessageW(requester, WM_FULLSCREEN_CAPTURE_DONE, 0, result.failed);
    return result;
}
