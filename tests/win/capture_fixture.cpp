#include "capture_fixture.h"

#include <vector>

#include "settings/config.h"

PictureTarget ConfiguredTarget() {
    const CConfig& config = CConfig::Instance();
    return PictureTarget{config.GetPicSavePath(), config.GetPicSaveFormat()};
}

uint32_t PatternAt(int x, int y) {
    return static_cast<uint32_t>((x & 0xFF) << 16 | (y & 0xFF) << 8 | ((x >> 8) * 16 + (y >> 8)));
}

int WrongPixels(Gdiplus::Bitmap& picture, int width, int height, const std::function<uint32_t(int x, int y)>& expected) {
    if (static_cast<int>(picture.GetWidth()) != width || static_cast<int>(picture.GetHeight()) != height) return -1;
    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData data{};
    if (picture.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppRGB, &data) != Gdiplus::Ok) return -1;
    int wrong = 0;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(data.Scan0) + y * data.Stride);
        for (int x = 0; x < width; ++x) {
            const uint32_t want = expected(x, y);
            if ((row[x] & 0xFFFFFF) == want) continue;
            if (wrong++ == 0) ADD_FAILURE() << "first wrong pixel at " << x << "," << y << ": " << std::hex << row[x] << " not " << want;
        }
    }
    picture.UnlockBits(&data);
    return wrong;
}

namespace {

LRESULT CALLBACK PatternProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client;
        GetClientRect(hwnd, &client);
        const int w = client.right, h = client.bottom;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(y) * w + x] = PatternAt(x, y);
        }
        SetDIBitsToDevice(dc, 0, 0, w, h, 0, 0, 0, h, pixels.data(), &info, DIB_RGB_COLORS);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Records what the capture tells its requester.
LRESULT CALLBACK RequesterProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* received = reinterpret_cast<std::vector<MSG>*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (received && (msg == WM_CAPTURE_RESULT || msg == WM_RESTORE_AFTER_CAPTURE)) {
        MSG m{};
        m.hwnd = hwnd;
        m.message = msg;
        m.wParam = wParam;
        m.lParam = lParam;
        received->push_back(m);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND ShowPattern() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PatternProc;
    wc.lpszClassName = L"CapturePattern";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"CapturePattern", L"pattern", WS_POPUP | WS_VISIBLE,
                                  0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                  nullptr, nullptr);
    UpdateWindow(window);
    Pump(300);
    return window;
}

HWND CreateRecordingRequester(std::vector<MSG>* received) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = RequesterProc;
    wc.lpszClassName = L"CaptureRequester";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, L"CaptureRequester", L"requester", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                  nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(received));
    return window;
}

void Capture::SetUp() {
    pattern_ = ShowPattern();
    requester_ = CreateRecordingRequester(&received_);
    SetCursorPos(600, 500);
    Mouse(MOUSEEVENTF_MOVE);
    thread_ = std::thread([this] {
        RunRegionCapture(requester_, Annotations(), ConfiguredTarget, [this](CRectangularSelector& s) { selector_ = &s; });
        finished_ = true;
    });
    ASSERT_TRUE(WaitFor([this] { return selector_.load() != nullptr; }));
    overlay_ = selector_.load()->Overlay();
    Pump(200);
}

void Capture::TearDown() {
    if (!finished_) PostMessageW(overlay_, WM_KEYDOWN, VK_ESCAPE, 0);
    WaitFor([this] { return finished_.load(); });
    if (thread_.joinable()) thread_.join();
    DestroyWindow(pattern_);
    DestroyWindow(requester_);
}

uint32_t Capture::Frame(int x, int y) {
    SendMessageW(overlay_, WM_CAPTURE_RENDER, 0, 0);
    return Pixel(x, y);
}

uint32_t Capture::Pixel(int x, int y) {
    CRectangularSelector* s = selector_.load();
    return s->FramePixels()[static_cast<size_t>(y) * s->Width() + x] & 0xFFFFFF;
}

void Capture::Drag(int x0, int y0, int x1, int y1) {
    MoveTo(x0, y0);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Pump(80);
    MoveTo(x1, y1);
    Mouse(MOUSEEVENTF_LEFTUP);
    Pump(150);
}

bool Capture::WaitForEnd() {
    const bool ended = WaitFor([this] { return finished_.load(); });
    if (ended && thread_.joinable()) thread_.join();
    Pump(50);  // what the capture posted last reaches the requester
    return ended;
}
