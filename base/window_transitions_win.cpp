#include "base/window_transitions.h"

namespace {

// DWMWA_TRANSITIONS_FORCEDISABLED of the desktop window manager's attributes.
constexpr DWORD kTransitionsForceDisabled = 3;

using SetAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
using FlushFn = HRESULT(WINAPI*)();

// dwmapi.dll, loaded once and kept for the life of the process.
HMODULE DwmModule() {
    static const HMODULE module = LoadLibraryW(L"dwmapi.dll");
    return module;
}

template <typename Fn>
Fn DwmFunction(const char* name) {
    HMODULE module = DwmModule();
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
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
