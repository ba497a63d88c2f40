#include "base/dpi_context.h"

#include "base/system_function.h"
#include "base/unique_handle.h"

namespace {

// DPI_AWARENESS_CONTEXT values and the DPI_AWARENESS value of unaware windows.
const HANDLE kContextUnaware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));
const HANDLE kContextPerMonitor = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
const HANDLE kContextPerMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
constexpr int kAwarenessUnaware = 0;
constexpr int kMdtEffectiveDpi = 0;
constexpr int kProcessPerMonitorAware = 2;  // PROCESS_PER_MONITOR_DPI_AWARE

using SetThreadContextFn = HANDLE(WINAPI*)(HANDLE);
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetWindowContextFn = HANDLE(WINAPI*)(HWND);
using GetAwarenessFn = int(WINAPI*)(HANDLE);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using SetProcessAwarenessFn = HRESULT(WINAPI*)(int);
using SetProcessAwareFn = BOOL(WINAPI*)();

template <typename Fn>
Fn User32Function(const char* name) {
    return SystemFunction<Fn>(L"user32.dll", name);
}

SetThreadContextFn SetThreadContextFunction() {
    static const auto set = User32Function<SetThreadContextFn>("SetThreadDpiAwarenessContext");
    return set;
}

// Sets the context; the previous one, or null when it could not be set.
HANDLE SetContext(DpiMode mode) {
    const auto set = SetThreadContextFunction();
    if (!set) return nullptr;
    if (mode == DpiMode::kUnaware) return set(kContextUnaware);
    if (HANDLE previous = set(kContextPerMonitorV2)) return previous;
    return set(kContextPerMonitor);
}

UINT MonitorDpi(HMONITOR monitor) {
    static const auto get = SystemFunction<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (get && SUCCEEDED(get(monitor, kMdtEffectiveDpi, &x, &y)) && x > 0) return x;
    // Before Windows 8.1 every monitor has the system's DPI, which an aware process reads here
    // (an unaware one reads 96).
    WindowDc screen(nullptr);
    const int systemDpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : 0;
    return systemDpi > 0 ? static_cast<UINT>(systemDpi) : base::kBaseDpi;
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT rect, LPARAM data) {
    auto* monitors = reinterpret_cast<std::vector<base::ScaledMonitor>*>(data);
    monitors->push_back(base::ScaledMonitor{base::Rect{rect->left, rect->top, rect->right, rect->bottom},
                                            static_cast<int>(MonitorDpi(monitor))});
    return TRUE;
}

}  // namespace

void SetUpProcessDpi() {
    if (SetThreadDpiMode(DpiMode::kUnaware)) return;
    // The manifest's dpiAware has made the process aware already on these systems, and the calls
    // below then change nothing; they make it so where the manifest was not read.
    if (const auto perMonitor = SystemFunction<SetProcessAwarenessFn>(L"shcore.dll", "SetProcessDpiAwareness")) {
        perMonitor(kProcessPerMonitorAware);
    } else if (const auto systemWide = User32Function<SetProcessAwareFn>("SetProcessDPIAware")) {
        systemWide();
    }
}

bool ThreadsChooseDpiAwareness() { return SetThreadContextFunction() != nullptr; }

bool SetThreadDpiMode(DpiMode mode) { return SetContext(mode) != nullptr; }

ThreadDpiScope::ThreadDpiScope(DpiMode mode) : previous_(SetContext(mode)) {}

ThreadDpiScope::~ThreadDpiScope() {
    if (previous_) SetThreadContextFunction()(previous_);
}

int WindowDpi(HWND window) {
    static const auto get = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    const UINT dpi = get && window ? get(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : base::kBaseDpi;
}

int DpiAtScreenPoint(POINT point) {
    return static_cast<int>(MonitorDpi(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST)));
}

bool WindowIsDpiUnaware(HWND window) {
    static const auto context = User32Function<GetWindowContextFn>("GetWindowDpiAwarenessContext");
    static const auto awareness = User32Function<GetAwarenessFn>("GetAwarenessFromDpiAwarenessContext");
    if (!context || !awareness || !window) return false;
    HANDLE windowContext = context(window);
    return windowContext && awareness(windowContext) == kAwarenessUnaware;
}

std::vector<base::ScaledMonitor> ScaledMonitors() {
    std::vector<base::ScaledMonitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}
