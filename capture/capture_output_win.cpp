#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <ctime>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/window_transitions.h"
#include "base/clipboard.h"
#include "base/dpi_context.h"
#include "base/file_io.h"
#include "base/unique_handle.h"
#include "capture/bmp_format.h"
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

bool EncodeBmp(HBITMAP image, std::string& bytes) {
    BITMAP info{};
    if (!image || !GetObjectW(image, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
    const int width = info.bmWidth;
    const int height = info.bmHeight;
    // A picture whose file size the header cannot hold is not written (nor miscounted).
    const std::optional<uint32_t> size = BmpFileSize(width, height);
    if (!size) return false;
    const auto header = BmpHeader(width, height);
    bytes.assign(header.begin(), header.end());
    bytes.resize(*size);
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = width;
    request.bmiHeader.biHeight = height;  // bottom-up, as the file stores it
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 24;
    request.bmiHeader.biCompression = BI_RGB;
    WindowDc screen(nullptr);
    return GetDIBits(screen.Get(), image, 0, static_cast<UINT>(height), &bytes[kBmpHeaderSize], &request,
                     DIB_RGB_COLORS) == height;
}

const CLSID* PngEncoder(std::vector<BYTE>& buffer) {
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return nullptr;
    buffer.resize(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) return nullptr;
    for (UINT i = 0; i < count; ++i) {
        if (lstrcmpW(encoders[i].MimeType, L"image/png") == 0) return &encoders[i].Clsid;
    }
    return nullptr;
}

// Encodes into memory, so that the file is then written in one step: no half-written picture.
bool EncodePng(HBITMAP image, std::string& bytes) {
    if (!image) return false;
    std::vector<BYTE> encoders;
    const CLSID* png = PngEncoder(encoders);
    if (!png) return false;
    UniqueCom<IStream> stream(SHCreateMemStream(nullptr, 0));
    if (!stream) return false;
    Gdiplus::Bitmap bitmap(image, nullptr);
    if (bitmap.GetLastStatus() != Gdiplus::Ok || bitmap.Save(stream.Get(), png, nullptr) != Gdiplus::Ok) return false;
    STATSTG stat{};
    LARGE_INTEGER start{};
    if (stream.Get()->Stat(&stat, STATFLAG_NONAME) != S_OK ||
        stream.Get()->Seek(start, STREAM_SEEK_SET, nullptr) != S_OK) {
        return false;
    }
    bytes.assign(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
    ULONG read = 0;
    return stream.Get()->Read(&bytes[0], static_cast<ULONG>(bytes.size()), &read) == S_OK && read == bytes.size();
}

bool EncodePicture(HBITMAP image, PicSaveFormat format, std::string& bytes) {
    // A picture too large for memory is a picture not written, never the end of the program.
    try {
        return format == PicSaveFormat::kPng ? EncodePng(image, bytes) : EncodeBmp(image, bytes);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    bytes.clear();
    return false;
}

}  // namespace

bool WritePictureFile(HBITMAP image, const std::wstring& path, PicSaveFormat format) {
    std::string bytes;
    return !path.empty() && EncodePicture(image, format, bytes) && WriteFileAtomically(path, bytes);
}

std::wstring SavePicture(const std::wstring& folder, PicSaveFormat format, HBITMAP image) {
    std::string bytes;
    if (!MakeFolder(folder) || !EncodePicture(image, format, bytes)) return std::wstring();
    const std::tm now = LocalNow();
    long long number = NextPictureNumber(FolderEntryNames(folder));
    // Another save may take the number between the scan and the write: then the next one.
    for (int attempt = 0; attempt < kMaxSaveAttempts; ++attempt, ++number) {
        const std::wstring path = FormatPictureName(folder, number, now, PictureExtension(format));
        switch (WriteNewFileAtomically(path, bytes)) {
            case NewFileResult::kWritten: return path;
            case NewFileResult::kExists: break;
            case NewFileResult::kFailed: return std::wstring();
        }
    }
    return std::wstring();
}

bool OpenPictureFolder(const std::wstring& folder) {
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", L"explorer", folder.c_str(), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

namespace {

constexpr DWORD kUncoveredRepaintMs = 100;

// Lets the windows that a hide uncovered repaint: other programs' do it on their own, this
// thread's (a pinned picture) are painted here. Only paint messages are handled meanwhile.
void LetUncoveredWindowsRepaint() {
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < kUncoveredRepaintMs) {
        while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&message);
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
        if (!BitBlt(memory.Get(), 0, 0, width, height, display.Get(), left, top, SRCCOPY)) return nullptr;
    }
    return bitmap.Release();
}

CaptureDelivery DeliverPicture(UniqueBitmap& image, bool save, bool copy, const std::wstring& folder,
                               PicSaveFormat format) {
    CaptureDelivery result;
    if (save && image) {
        result.path = SavePicture(folder, format, image.Get());
        result.saved = !result.path.empty();
    }
    if (copy && image) {
        result.copied = PutBitmapOnClipboard(image.Get());
        if (result.copied) image.Release();  // the clipboard owns it now
    }
    if (save && !result.saved) result.failed |= kCaptureFileNotWritten;
    if (copy && !result.copied) result.failed |= kCaptureClipboardNotSet;
    return result;
}

FullScreenCaptureResult CaptureFullScreen(const std::wstring& folder, PicSaveFormat format, HWND requester) {
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
