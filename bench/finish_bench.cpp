// What a user waits for when a capture is finished, on a photo-like and a UI-like screen of the
// display's size made in-process with fixed seeds:
//   - the PNG encoder alone, ours beside GDI+'s (today's synchronous path wrote with it before
//     the overlay went): time and file size;
//   - through the main window's own code (CMainWnd::StartRectCapture), with a selection of the
//     whole screen dragged by real input: from the click on save, copy, pin and ok until the
//     overlay is gone from the screen, and until the result is there (the file in the folder, a
//     bitmap on the clipboard, the pinned window painted).
// Prints "name value unit" lines; each figure is the median of several runs.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <shlwapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "base/dib_canvas.h"
#include "base/file_io.h"
#include "base/gdiplus_session.h"
#include "base/unique_handle.h"
#include "bench/bench_screens.h"
#include "bench/bench_skin.h"
#include "bench/bench_util.h"
#include "capture/png_format.h"
#include "settings/config.h"
#include "tests/win/real_input.h"
#include "tests/win/toolbar_geometry.h"
#include "windows/main_wnd.h"

namespace {

constexpr int kEncodeRuns = 3;
constexpr int kFinishRuns = 3;
const bool kTrace = getenv("FINISH_TRACE") != nullptr;

// A window over the whole screen showing the screen content, under the program's topmost ones.
class ScreenWindow {
public:
    ScreenWindow(BenchScreen kind, int width, int height) {
        WindowDc screen(nullptr);
        canvas_.Create(screen.Get(), width, height);
        if (kind == BenchScreen::kPhoto) {
            FillPhotoLike(canvas_.Bits(), width, height, 7);
        } else {
            DrawUiLike(canvas_.Dc(), width, height, 7);
        }
        GdiFlush();
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"FinishBenchScreen";
        RegisterClassW(&windowClass);
        hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, windowClass.lpszClassName, L"", WS_POPUP, 0, 0,
                                width, height, nullptr, nullptr, windowClass.hInstance, this);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd_);
    }
    ~ScreenWindow() { DestroyWindow(hwnd_); }
    const DibCanvas& Canvas() const { return canvas_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<ScreenWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == WM_PAINT && self) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd, &paint);
            BitBlt(dc, 0, 0, self->canvas_.Width(), self->canvas_.Height(), self->canvas_.Dc(), 0, 0, SRCCOPY);
            EndPaint(hwnd, &paint);
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    DibCanvas canvas_;
    HWND hwnd_ = nullptr;
};

// Today's encoder: GDI+ into memory. The file's size in bytes; 0 on failure.
size_t EncodeWithGdiplus(HBITMAP bitmap) {
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return 0;
    std::vector<BYTE> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, encoders);
    const CLSID* png = nullptr;
    for (UINT i = 0; i < count; ++i) {
        if (lstrcmpW(encoders[i].MimeType, L"image/png") == 0) png = &encoders[i].Clsid;
    }
    UniqueCom<IStream> stream(SHCreateMemStream(nullptr, 0));
    if (!png || !stream) return 0;
    Gdiplus::Bitmap picture(bitmap, nullptr);
    if (picture.Save(stream.Get(), png, nullptr) != Gdiplus::Ok) return 0;
    STATSTG stat{};
    stream.Get()->Stat(&stat, STATFLAG_NONAME);
    return static_cast<size_t>(stat.cbSize.QuadPart);
}

void BenchEncoders(const char* name, const DibCanvas& canvas) {
    const int w = canvas.Width(), h = canvas.Height();
    WindowDc screen(nullptr);
    UniqueBitmap ddb(CreateCompatibleBitmap(screen.Get(), w, h));
    {
        UniqueDc dc(CreateCompatibleDC(screen.Get()));
        SelectedObject selected(dc.Get(), ddb.Get());
        BitBlt(dc.Get(), 0, 0, w, h, canvas.Dc(), 0, 0, SRCCOPY);
    }
    std::vector<double> gdiplus, ours;
    size_t gdiplusBytes = 0, ourBytes = 0;
    for (int i = 0; i < kEncodeRuns; ++i) {
        double start = Now();
        gdiplusBytes = EncodeWithGdiplus(ddb.Get());
        gdiplus.push_back(Now() - start);
        start = Now();
        ourBytes = EncodePng(PngPicture{canvas.Bits(), w, h, static_cast<size_t>(w), false}).size();
        ours.push_back(Now() - start);
    }
    const double g = Median(gdiplus), o = Median(ours);
    std::printf("png_gdiplus_%s_%dx%d %.0f ms\n", name, w, h, g);
    std::printf("png_ours_%s_%dx%d %.0f ms\n", name, w, h, o);
    std::printf("png_speedup_%s_%dx%d %.1f x\n", name, w, h, g / o);
    std::printf("png_gdiplus_bytes_%s_%dx%d %zu bytes\n", name, w, h, gdiplusBytes);
    std::printf("png_ours_bytes_%s_%dx%d %zu bytes\n", name, w, h, ourBytes);
    std::printf("png_size_ratio_%s_%dx%d %.1f %%\n", name, w, h, 100.0 * ourBytes / gdiplusBytes);
}

// Dispatches this thread's messages until done() holds or timeoutMs pass; when it held, the time.
double PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 30000) {
    const double start = Now();
    MSG msg;
    while (Now() - start < timeoutMs) {
        // Checked after every message: a result is there as soon as it is, not once every
        // paint behind it is done too.
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (done()) return Now();
        }
        if (done()) return Now();
        Sleep(1);
    }
    return 0;
}

// Whole pictures only: a file being written has a temporary name until it is complete.
size_t FilesIn(const std::wstring& folder) {
    size_t count = 0;
    for (const std::wstring& name : FolderEntryNames(folder)) {
        count += name.size() > 4 && name.compare(name.size() - 4, 4, L".png") == 0;
    }
    return count;
}

HWND PinnedWindow() { return FindWindowW(L"CShowPicWnd", nullptr); }

struct Finish {
    const char* name;
    TOOL_BAR_BTN_TYPE button;
    bool file;
    bool clipboard;
    bool pin;
};

// One capture through the main window, finished by the button: (click -> overlay gone,
// click -> result there) in milliseconds.
std::pair<double, double> FinishOnce(CMainWnd& mainWnd, const Finish& finish, const std::wstring& folder) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    std::atomic<double> clicked{0};
    std::atomic<double> gone{0};
    std::thread driver;
    mainWnd.SetCaptureStartedHandler([&](CRectangularSelector& selector) {
        const HWND overlay = selector.Overlay();
        driver = std::thread([&clicked, &gone, overlay, w, h, finish] {
            // The whole screen, by a real drag.
            MoveTo(0, 0);
            Mouse(MOUSEEVENTF_LEFTDOWN);
            Sleep(80);
            MoveTo(w - 1, h - 1);
            Mouse(MOUSEEVENTF_LEFTUP);
            HWND toolbar = nullptr;
            for (int i = 0; i < 500 && !(toolbar && IsWindowVisible(toolbar)); ++i) {
                Sleep(10);
                toolbar = FindWindowW(nullptr, L"rectangular_selector_tool_bar");
            }
            if (!toolbar || !IsWindowVisible(toolbar)) {
                // No selection came of the drag: the run ends without a figure.
                if (kTrace) std::fprintf(stderr, "no toolbar\n");
                PostMessageW(overlay, WM_KEYDOWN, VK_ESCAPE, 0);
                return;
            }
            // A real click on the button, as a hand gives it; once more if it got lost.
            POINT at = ToolbarButtonCenter(finish.button);
            ClientToScreen(toolbar, &at);
            MoveTo(at.x, at.y);
            Sleep(50);
            for (int attempt = 0; attempt < 3 && IsWindowVisible(overlay); ++attempt) {
                clicked = Now();
                if (kTrace) std::fprintf(stderr, "  clicked %.0f\n", clicked.load());
                Mouse(MOUSEEVENTF_LEFTDOWN);
                Mouse(MOUSEEVENTF_LEFTUP);
                for (int i = 0; i < 200 && IsWindowVisible(overlay); ++i) Sleep(5);
            }
            if (IsWindowVisible(overlay)) PostMessageW(overlay, WM_KEYDOWN, VK_ESCAPE, 0);
            // What the user sees: the frozen screen is gone when its window is.
            while (IsWindow(overlay) && IsWindowVisible(overlay) && Now() - clicked < 30000) Sleep(1);
            gone = Now();
        });
    });
    const size_t files = FilesIn(folder);
    const DWORD clipboard = GetClipboardSequenceNumber();
    mainWnd.StartRectCapture();
    // The main window takes its messages during the capture, as in the program: a pin shows
    // as soon as the capture hands it over.
    double there = 0;
    const auto resultThere = [&] {
        if (finish.file && FilesIn(folder) == files) return false;
        if (finish.clipboard && GetClipboardSequenceNumber() == clipboard) return false;
        if (finish.pin) {
            HWND pin = PinnedWindow();
            if (!pin || !IsWindowVisible(pin)) return false;
            UpdateWindow(pin);
        }
        return true;
    };
    PumpUntil([&] {
        if (there == 0 && clicked > 0 && resultThere()) there = Now();
        return !mainWnd.CaptureRunning();
    });
    if (driver.joinable()) driver.join();
    if (there == 0 && clicked > 0) there = PumpUntil(resultThere);
    // A pin's file is written after the pin shows: it must not count for the next run.
    if (finish.pin) PumpUntil([&] { return FilesIn(folder) > files; });
    if (HWND pin = PinnedWindow()) DestroyWindow(pin);
    PumpUntil([] { return false; }, 300);  // toasts and restores settle
    if (clicked == 0 || there == 0) return {-1, -1};  // the run did not finish as a user's would
    return {gone - clicked, there - clicked};
}

void BenchFinishing(const char* name, CMainWnd& mainWnd, const std::wstring& folder) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    static const Finish kFinishes[] = {
        {"save", TOOL_BAR_BTN_TYPE::kSave, true, false, false},
        {"copy", TOOL_BAR_BTN_TYPE::kClipboard, false, true, false},
        {"pin", TOOL_BAR_BTN_TYPE::kPin, false, false, true},
        {"ok", TOOL_BAR_BTN_TYPE::kOk, true, true, false},
    };
    for (const Finish& finish : kFinishes) {
        std::vector<double> gone, there;
        for (int i = 0; i < kFinishRuns * 2 && static_cast<int>(gone.size()) < kFinishRuns; ++i) {
            const auto [g, t] = FinishOnce(mainWnd, finish, folder);
            if (kTrace) std::fprintf(stderr, "%s %s: gone %.0f there %.0f (now %.0f)\n", finish.name, name, g, t, Now());
            if (g < 0) continue;
            gone.push_back(g);
            there.push_back(t);
        }
        std::printf("finish_%s_%s_%dx%d_overlay_gone %.0f ms\n", finish.name, name, w, h, Median(gone));
        std::printf("finish_%s_%s_%dx%d_result_there %.0f ms\n", finish.name, name, w, h, Median(there));
    }
}

}  // namespace

int main() {
    GdiplusSession gdiplus;
    if (!LoadBenchSkin()) return 1;
    const std::wstring folder = TempPath(L"finish_bench_pictures");
    CreateDirectoryW(folder.c_str(), nullptr);
    CConfig::Instance().SetPicSavePath(folder);
    CConfig::Instance().SetPicSaveFormat(PicSaveFormat::kPng);
    CMainWnd mainWnd;
    if (!mainWnd.Create(nullptr, kMainWindowTitle, WS_VISIBLE, 0)) return 1;
    mainWnd.CenterWindow();
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    for (BenchScreen kind : {BenchScreen::kPhoto, BenchScreen::kUi}) {
        ScreenWindow screen(kind, w, h);
        PumpUntil([] { return false; }, 300);
        BenchEncoders(BenchScreenName(kind), screen.Canvas());
        BenchFinishing(BenchScreenName(kind), mainWnd, folder);
    }
    DestroyWindow(mainWnd.GetHWND());
    // The pictures are the benchmark's own: gone again.
    for (const std::wstring& name : FolderEntryNames(folder)) DeleteFileW((folder + L"\\" + name).c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}
