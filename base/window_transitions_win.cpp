#include "base/window_transitions.h"

#include "base/system_function.h"

namespace {

// DWMWA_TRANSITIONS_FORCEDISABLED of the desktop window manager's attributes.
constexpr DWORD kTransitionsForceDisabled = 3;

using SetAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
using FlushFn = HRESULT(WINAPI*)();

template <typename Fn>
Fn DwmFunction(const char* name) {
    return SystemFunction<Fn>(L"dwmapi.dll", name);
}

}  // namespace

void DisableWindowTransitions(HWND window) {
    static const SetAttributeFn setAttribute = DwmFunction<SetAttributeFn>("DwmSetWindowAttribute");
    if (!setAttribute || !window) return;
    const BOOL disabled = TRUE;
    setAttribute(window, kTransitionsForceDisabled, &disabled, sizeof disabled);
}

bool FlushCompositor() {
    static const FlushFn flush = DwmFunction<FlushFn>("DwmFlush");
    return flush && SUCCEEDED(flush());
}
