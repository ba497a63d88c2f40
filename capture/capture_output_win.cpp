#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <ctime>
#include <string>
#include <vector>

#include "capture/app_context.h"
#include "base/clipboard.h"
#include "capture/bmp_format.h"
#include "capture/capture_output.h"
#include "capture/picture_name.h"
#include "base/file_io.h"

namespace {

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
}

// A screen DC for the duration of a scope.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

bool EndsWith(const std::wstring& text, const std::wstring& suffix) {
    return text.size() >= suffix.size() &&
           lstrcmpiW(text.c_str() + text.size() - suffix.size(), suffix.c_str()) == 0;
}

}  // namespace

std::wstring BuildPictureFileName(const std::wstring& folder, const std::wstring& extension) {
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return std::wstring();
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    const std::wstring path = FormatPictureName(folder, NextPictureNumber(NamesIn(folder)), local, extension);
    CAppContext::Instance().SetLastPicturePath(path);
    return path;
}

bool WriteBmpFile(HBITMAP image, const std::wstring& path) {
    BITMAP info{};
    if (!image || !GetObjectW(image, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
    const int width = info.bmWidth;
    const int height = info.bmHeight;
    const auto header = BmpHeader(width, height);
    std::string bytes(header.begin(), header.end());
    bytes.resize(kBmpHeaderSize + static_cast<size_t>(BmpStride(width)) * height);
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = width;
    request.bmiHeader.biHeight = height;  // bottom-up, as the file stores it
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 24;
    request.bmiHeader.biCompression = BI_RGB;
    ScreenDc screen;
    if (GetDIBits(screen.Get(), image, 0, static_cast<UINT>(height), &bytes[kBmpHeaderSize], &request,
                  DIB_RGB_COLORS) != height) {
        return false;
    }
    return WriteFileAtomically(path, bytes);
}

bool WritePngFile(HBITMAP image, const std::wstring& path) {
    if (!image) return false;
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<BYTE> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) return false;
    const CLSID* png = nullptr;
    for (UINT i = 0; i < count; ++i) {
        if (lstrcmpW(encoders[i].MimeType, L"image/png") == 0) {
            png = &encoders[i].Clsid;
            break;
        }
    }
    if (!png) return false;
    // Encode into memory first, then write the file in one step: no half-written picture.
    IStream* stream = SHCreateMemStream(nullptr, 0);
    if (!stream) return false;
    bool ok = false;
    {
        Gdiplus::Bitmap bitmap(image, nullptr);
        if (bitmap.GetLastStatus() == Gdiplus::Ok && bitmap.Save(stream, png, nullptr) == Gdiplus::Ok) {
            STATSTG stat{};
            LARGE_INTEGER start{};
            if (stream->Stat(&stat, STATFLAG_NONAME) == S_OK && stream->Seek(start, STREAM_SEEK_SET, nullptr) == S_OK) {
                std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
                ULONG read = 0;
                ok = stream->Read(&bytes[0], static_cast<ULONG>(bytes.size()), &read) == S_OK &&
                     read == bytes.size() && WriteFileAtomically(path, bytes);
            }
        }
    }
    stream->Release();
    return ok;
}

bool WritePictureFile(HBITMAP image, const std::wstring& path) {
    if (path.empty()) return false;
    return EndsWith(path, L".png") ? WritePngFile(image, path) : WriteBmpFile(image, path);
}

bool OpenPictureFolder(const std::wstring& folder) {
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", L"explorer", folder.c_str(), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

HBITMAP GrabVirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (width <= 0 || height <= 0) return nullptr;
    HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (!display) return nullptr;
    HDC memory = CreateCompatibleDC(display);
    HBITMAP bitmap = memory ? CreateCompatibleBitmap(display, width, height) : nullptr;
    bool copied = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, display, left, top, SRCCOPY) != FALSE;
        SelectObject(memory, old);
    }
    if (memory) DeleteDC(memory);
    DeleteDC(display);
    if (!copied && bitmap) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    return bitmap;
}

FullScreenCaptureResult CaptureFullScreen(const std::wstring& folder, bool pngFormat, HWND requester) {
    FullScreenCaptureResult result;
    result.path = BuildPictureFileName(folder, pngFormat ? L"png" : L"bmp");
    HBITMAP screen = GrabVirtualScreen();
    if (screen) {
        result.saved = WritePictureFile(screen, result.path);
        result.copied = PutBitmapOnClipboard(screen);
        if (!result.copied) DeleteObject(screen);  // otherwise the clipboard owns it
    }
    if (requester) PostMessageW(requester, WM_FULLSCREEN_CAPTURE_DONE, 0, 0);
    return result;
}
