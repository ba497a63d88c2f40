// A small window that the end-to-end harness drives: it shows itself under a known title, and on
// a mouse click writes the click's client coordinates to the file named on its command line and
// exits with code 0. It gives up (exit code 3) after 60 seconds without a click.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

constexpr wchar_t kTitle[] = L"e2e probe";
constexpr UINT_PTR kGiveUpTimer = 1;
std::wstring g_markerPath;

void WriteMarker(int x, int y) {
    FILE* file = _wfopen(g_markerPath.c_str(), L"wb");
    if (!file) return;
    std::fprintf(file, "click %d %d\n", x, y);
    std::fclose(file);
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONUP:
            WriteMarker(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            DestroyWindow(window);
            return 0;
        case WM_TIMER:
            if (wParam == kGiveUpTimer) PostQuitMessage(3);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT client;
            GetClientRect(window, &client);
            HBRUSH accent = CreateSolidBrush(RGB(0x16, 0x77, 0xFF));
            FillRect(dc, &client, accent);
            DeleteObject(accent);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(255, 255, 255));
            DrawTextW(dc, L"click me", -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            EndPaint(window, &paint);
            return 0;
        }
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 2;
    g_markerPath = argv[1];
    LocalFree(argv);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ProbeProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"E2EProbeWindow";
    if (!RegisterClassExW(&windowClass)) return 2;
    HWND window = CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, kTitle,
                                  WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                                  instance, nullptr);
    if (!window) return 2;
    SetTimer(window, kGiveUpTimer, 60000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
