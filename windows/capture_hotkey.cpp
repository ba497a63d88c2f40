#include "windows/capture_hotkey.h"

#include "base/utf_convert.h"

namespace {
// Holding the keys down does not repeat the press.
constexpr UINT kNoRepeat = 0x4000;  // MOD_NOREPEAT
}  // namespace

bool CaptureHotkey::Hold(HWND owner, const Hotkey& hotkey) {
    Release();
    owner_ = owner;
    wanted_ = hotkey;
    if (!owner || hotkey.IsNone()) return true;
    held_ = RegisterHotKey(owner, kId, hotkey.modifiers | kNoRepeat, hotkey.key) != 0;
    return held_;
}

void CaptureHotkey::Release() {
    if (held_) UnregisterHotKey(owner_, kId);
    held_ = false;
}

std::wstring HotkeyTakenText(const Hotkey& hotkey) {
    return L"\x5FEB\x6377\x952E " + Utf8ToWide(HotkeyText(hotkey)) + L" \x5DF2\x88AB\x5360\x7528";
}

void DropQueuedHotkeyPresses(HWND owner) {
    MSG message;
    while (PeekMessageW(&message, owner, WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) {
    }
}
