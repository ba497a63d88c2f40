// What the end-to-end tests ask of Windows that X cannot tell them. Each command prints one line
// and exits 0 on success, 1 on failure:
//   e2e_tool post TITLE MESSAGE WPARAM LPARAM   post a message to the window titled TITLE
//   e2e_tool rect TITLE|class:NAME              "left top right bottom visible" of that window
//   e2e_tool count TITLE                        how many top-level windows have that title
//   e2e_tool tray TITLE check|delete            whether the window's tray icon 1 is in the tray
//                                               ("1" or "0"), or takes it out as a dying shell would
//   e2e_tool taskbar-created                    broadcasts the shell's "TaskbarCreated"
//   e2e_tool setting-change                     broadcasts WM_SETTINGCHANGE as Windows' settings do
//   e2e_tool title TITLE|class:NAME             the window's title, in UTF-8
//   e2e_tool clipboard OUT.bmp                  the clipboard's bitmap as a 24-bit BMP file
//   e2e_tool workarea                           "left top right bottom" of the work area
//   e2e_tool hold-hotkey MODIFIERS KEY          registers the hotkey as another program would;
//                                               prints "held" or "taken", runs until killed
//   e2e_tool awareness TITLE|class:NAME         the window's DPI awareness: 0 unaware, 1 system,
//                                               2 per monitor
//   e2e_tool pattern                            a window over the whole screen, below topmost
//                                               ones, whose pixel (x, y) is PatternColour(x, y);
//                                               runs until closed or killed
//   e2e_tool linger CLASS TITLE MUTEX MS        a running copy of a program that, asked to
//                                               close, lets go of its window and mutex at once
//                                               but ends MS later; prints "up", then "ending"
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

HWND FindByName(const std::wstring& name) {
    if (name.rfind(L"class:", 0) == 0) return FindWindowW(name.substr(6).c_str(), nullptr);
    return FindWindowW(nullptr, name.c_str());
}

struct TitleSearch {
    std::wstring title;
    int found = 0;
};

BOOL CALLBACK CountIfTitled(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TitleSearch*>(data);
    wchar_t text[256] = {0};
    GetWindowTextW(window, text, 256);
    search->found += search->title == text;
    return TRUE;
}

int Count(const std::wstring& title) {
    TitleSearch search{title};
    EnumWindows(CountIfTitled, reinterpret_cast<LPARAM>(&search));
    std::printf("%d\n", search.found);
    return 0;
}

int Tray(const std::wstring& title, const std::wstring& what) {
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = FindByName(title);
    icon.uID = 1;
    if (!icon.hWnd) return 1;
    if (what == L"delete") return Shell_NotifyIconW(NIM_DELETE, &icon) ? 0 : 1;
    // Changing nothing succeeds only for an icon that is there.
    std::printf("%d\n", Shell_NotifyIconW(NIM_MODIFY, &icon) ? 1 : 0);
    return 0;
}

int SettingChange() {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, 0, SMTO_ABORTIFHUNG, 5000, &result)) return 1;
    std::printf("broadcast\n");
    return 0;
}

void PrintTitle(HWND window) {
    wchar_t text[1024] = {0};
    GetWindowTextW(window, text, 1024);
    char utf8[4096] = {0};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    std::printf("%s\n", utf8);
}

int Title(const std::wstring& name) {
    HWND window = FindByName(name);
    if (!window) return 1;
    PrintTitle(window);
    return 0;
}

int TaskbarCreated() {
    if (!PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0)) return 1;
    std::printf("broadcast\n");
    return 0;
}

int Post(const std::wstring& title, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = FindByName(title);
    if (!window || !PostMessageW(window, message, wParam, lParam)) return 1;
    std::printf("posted\n");
    return 0;
}

// Sends a message and waits up to timeoutMs for the answer, as a program that broadcasts does;
// name "broadcast" sends it to every top-level window. Prints the answer; fails on a timeout.
int Send(const std::wstring& name, UINT message, WPARAM wParam, LPARAM lParam, UINT timeoutMs) {
    HWND window = name == L"broadcast" ? HWND_BROADCAST : FindByName(name);
    if (!window) return 1;
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &answer)) return 1;
    std::printf("%lu\n", static_cast<unsigned long>(answer));
    return 0;
}

// Presses and releases a key through the system's input queue, as a keyboard does: Windows gives
// it to the window in the foreground, whichever has the X keyboard focus.
int Key(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    if (SendInput(2, input, sizeof(INPUT)) != 2) return 1;
    std::printf("pressed\n");
    return 0;
}

int Rect(const std::wstring& name) {
    HWND window = FindByName(name);
    RECT r;
    if (!window || !GetWindowRect(window, &r)) return 1;
    std::printf("%ld %ld %ld %ld %d\n", r.left, r.top, r.right, r.bottom, IsWindowVisible(window) ? 1 : 0);
    return 0;
}

int Clipboard(const std::wstring& path) {
    if (!OpenClipboard(nullptr)) return 1;
    int result = 1;
    HANDLE data = GetClipboardData(CF_DIB);
    const auto* info = data ? static_cast<const BITMAPINFOHEADER*>(GlobalLock(data)) : nullptr;
    if (info) {
        // Convert through a DC to a plain 24-bit bottom-up file, whatever the clipboard holds.
        const int width = info->biWidth;
        const int height = info->biHeight < 0 ? -info->biHeight : info->biHeight;
        HDC screen = GetDC(nullptr);
        const BYTE* bits = reinterpret_cast<const BYTE*>(info) + info->biSize +
                           (info->biCompression == BI_BITFIELDS ? 12 : 0) +
                           info->biClrUsed * sizeof(RGBQUAD);
        HBITMAP bitmap = CreateDIBitmap(screen, info, CBM_INIT, bits,
                                        reinterpret_cast<const BITMAPINFO*>(info), DIB_RGB_COLORS);
        const int stride = (width * 3 + 3) & ~3;
        std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
        BITMAPINFO out{};
        out.bmiHeader.biSize = sizeof out.bmiHeader;
        out.bmiHeader.biWidth = width;
        out.bmiHeader.biHeight = height;
        out.bmiHeader.biPlanes = 1;
        out.bmiHeader.biBitCount = 24;
        out.bmiHeader.biCompression = BI_RGB;
        if (bitmap && GetDIBits(screen, bitmap, 0, height, pixels.data(), &out, DIB_RGB_COLORS) == height) {
            BITMAPFILEHEADER file{};
            file.bfType = 0x4D42;
            file.bfOffBits = sizeof file + sizeof out.bmiHeader;
            file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
            FILE* f = _wfopen(path.c_str(), L"wb");
            if (f) {
                std::fwrite(&file, sizeof file, 1, f);
                std::fwrite(&out.bmiHeader, sizeof out.bmiHeader, 1, f);
                std::fwrite(pixels.data(), 1, pixels.size(), f);
                std::fclose(f);
                std::printf("%d %d\n", width, height);
                result = 0;
            }
        }
        if (bitmap) DeleteObject(bitmap);
        ReleaseDC(nullptr, screen);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return result;
}

int WorkArea() {
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
}

// Every pixel of a 4096 x 4096 screen has its own colour: red x, green y (low bytes), blue the
// high nibbles of both.
COLORREF PatternColour(int x, int y) {
    return RGB(x & 255, y & 255, ((x >> 8) << 4) | (y >> 8));
}

// How long the pattern window is busy, four times a second: a program under a window being
// hidden that gets to its messages, and so to repainting, only now and then.
DWORD g_patternBusyMs = 0;

LRESULT CALLBACK PatternProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        Sleep(g_patternBusyMs);
        return 0;
    }
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = client.right;
        info.bmiHeader.biHeight = -client.bottom;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        std::vector<DWORD> pixels(static_cast<size_t>(client.right) * client.bottom);
        for (int y = 0; y < client.bottom; ++y) {
            for (int x = 0; x < client.right; ++x) {
                const COLORREF c = PatternColour(x, y);
                pixels[static_cast<size_t>(y) * client.right + x] = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
            }
        }
        SetDIBitsToDevice(dc, 0, 0, client.right, client.bottom, 0, 0, 0, client.bottom, pixels.data(), &info,
                          DIB_RGB_COLORS);
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

int Pattern() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = PatternProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"E2EPattern";
    if (!RegisterClassExW(&windowClass)) return 1;
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, windowClass.lpszClassName, L"e2e pattern",
                                  WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                  GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window) return 1;
    if (g_patternBusyMs) SetTimer(window, 1, 250, nullptr);
    std::printf("shown\n");
    std::fflush(stdout);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

LRESULT CALLBACK LingerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

int Linger(const std::wstring& className, const std::wstring& title, const std::wstring& mutexName, DWORD ms) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName.c_str());
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = LingerProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className.c_str();
    if (!mutex || !RegisterClassExW(&windowClass)) return 1;
    if (!CreateWindowExW(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                         windowClass.hInstance, nullptr)) {
        return 1;
    }
    std::printf("up\n");
    std::fflush(stdout);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    CloseHandle(mutex);
    Sleep(ms);
    std::printf("ending\n");
    std::fflush(stdout);
    return 0;
}

// Asks the program's main window to end for an update, as our setup does; prints its answer
// (0 busy, 1 ending with its window shown, 2 ending from the tray), or "none" without one.
int AskCloseForUpdate(const std::wstring& name) {
    HWND window = FindByName(name);
    if (!window) return 1;
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, RegisterWindowMessageW(L"Screenshot.CloseForUpdate"), GetTickCount(), 0,
                             SMTO_ABORTIFHUNG, 2000, &answer)) {
        std::printf("none\n");
        return 0;
    }
    std::printf("%lu\n", static_cast<unsigned long>(answer));
    return 0;
}

// The title of the window in the foreground.
int Foreground() {
    HWND window = GetForegroundWindow();
    if (!window) return 1;
    PrintTitle(window);
    return 0;
}

int Awareness(const std::wstring& name) {
    using ContextFn = HANDLE(WINAPI*)(HWND);
    using AwarenessFn = int(WINAPI*)(HANDLE);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto context = reinterpret_cast<ContextFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
    auto awareness = reinterpret_cast<AwarenessFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    HWND window = FindByName(name);
    if (!context || !awareness || !window) return 1;
    std::printf("%d\n", awareness(context(window)));
    return 0;
}

int HoldHotkey(UINT modifiers, UINT key) {
    const bool held = RegisterHotKey(nullptr, 1, modifiers, key) != 0;
    std::printf(held ? "held\n" : "taken\n");
    std::fflush(stdout);
    if (!held) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring command = argv[1];
    if (command == L"post" && argc == 6) {
        return Post(argv[2], static_cast<UINT>(std::wcstoul(argv[3], nullptr, 0)),
                    static_cast<WPARAM>(std::wcstoul(argv[4], nullptr, 0)),
                    static_cast<LPARAM>(std::wcstol(argv[5], nullptr, 0)));
    }
    if (command == L"send" && argc == 7) {
        return Send(argv[2], static_cast<UINT>(std::wcstoul(argv[3], nullptr, 0)),
                    static_cast<WPARAM>(std::wcstoul(argv[4], nullptr, 0)),
                    static_cast<LPARAM>(std::wcstol(argv[5], nullptr, 0)),
                    static_cast<UINT>(std::wcstoul(argv[6], nullptr, 0)));
    }
    if (command == L"key" && argc == 3) return Key(static_cast<WORD>(std::wcstoul(argv[2], nullptr, 0)));
    if (command == L"rect" && argc == 3) return Rect(argv[2]);
    if (command == L"count" && argc == 3) return Count(argv[2]);
    if (command == L"tray" && argc == 4) return Tray(argv[2], argv[3]);
    if (command == L"taskbar-created") return TaskbarCreated();
    if (command == L"setting-change") return SettingChange();
    if (command == L"title" && argc == 3) return Title(argv[2]);
    if (command == L"foreground") return Foreground();
    if (command == L"ask-close" && argc == 3) return AskCloseForUpdate(argv[2]);
    if (command == L"clipboard" && argc == 3) return Clipboard(argv[2]);
    if (command == L"workarea") return WorkArea();
    if (command == L"pattern") {
        if (argc > 2) g_patternBusyMs = static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10));
        return Pattern();
    }
    if (command == L"awareness" && argc == 3) return Awareness(argv[2]);
    if (command == L"linger" && argc == 6) {
        return Linger(argv[2], argv[3], argv[4], static_cast<DWORD>(std::wcstoul(argv[5], nullptr, 10)));
    }
    if (command == L"hold-hotkey" && argc == 4) {
        return HoldHotkey(static_cast<UINT>(std::wcstoul(argv[2], nullptr, 0)),
                          static_cast<UINT>(std::wcstoul(argv[3], nullptr, 0)));
    }
    return 2;
}
