#include "windows/capture_hotkey.h"

#include "base/system_function.h"
#include "base/utf_convert.h"
#include "windows/print_screen_setting.h"

namespace {
// Holding the keys down does not repeat the press.
constexpr UINT kNoRepeat = 0x4000;  // MOD_NOREPEAT

// A DWORD under HKEY_CURRENT_USER; fallback when it is missing or of another type.
DWORD UserRegistryDword(const wchar_t* key, const wchar_t* name, DWORD fallback) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return fallback;
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof(value);
    const LONG read = RegQueryValueExW(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(opened);
    return read == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(value) ? value : fallback;
}

}  // namespace

bool CaptureHotkey::Hold(HWND owner, const Hotkey& hotkey) {
    Release();
    owner_ = owner;
    wanted_ = hotkey;
    paused_ = false;
    return Retry();
}

void CaptureHotkey::Pause() {
    Release();
    paused_ = true;
}

bool CaptureHotkey::Resume() {
    paused_ = false;
    return Retry();
}

bool CaptureHotkey::Retry() {
    if (held_ || paused_) return held_;
    if (!owner_ || wanted_.IsNone()) return true;
    held_ = RegisterHotKey(owner_, kId, wanted_.modifiers | kNoRepeat, wanted_.key) != 0;
    return held_;
}

void CaptureHotkey::Release() {
    if (held_) UnregisterHotKey(owner_, kId);
    held_ = false;
}

HotkeyHolder FindHotkeyHolder(const Hotkey& hotkey) {
    if (hotkey != DefaultCaptureHotkey()) return HotkeyHolder::kOtherProgram;
    // Settings › Accessibility › Keyboard, "Use the Print screen key to open screen capture".
    const DWORD snipping = UserRegistryDword(L"Control Panel\\Keyboard", L"PrintScreenKeyForSnippingEnabled", 0);
    return snipping == 1 ? HotkeyHolder::kScreenSnipping : HotkeyHolder::kOtherProgram;
}

unsigned long RunningWindowsBuild() {
    // The true version, whatever the compatibility settings make GetVersionEx report.
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    static const auto get = SystemFunction<RtlGetVersionFn>(L"ntdll.dll", "RtlGetVersion");
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    return get && get(&version) == 0 ? version.dwBuildNumber : 0;
}

const wchar_t* HotkeyRefusalText(HotkeyPress::Refusal refusal) {
    switch (refusal) {
        case HotkeyPress::Refusal::kNeedsModifier: return L"需要 Ctrl 或 Alt";
        case HotkeyPress::Refusal::kAltNeedsLetter: return L"Alt 只能与字母、数字或 F 键组合";
        case HotkeyPress::Refusal::kKeyNotSupported: return L"不能使用此键";
        case HotkeyPress::Refusal::kReserved: return L"F12 由 Windows 保留";
        case HotkeyPress::Refusal::kSystemCombination: return L"此组合由 Windows 使用";
        case HotkeyPress::Refusal::kNone: break;
    }
    return L"";
}

std::wstring StoredHotkeyRefusedText(const std::string& stored) {
    // A hand-edited file may hold anything: control characters become spaces and a long text
    // is cut, so the notice stays one readable line.
    constexpr size_t kShownChars = 32;
    std::wstring shown = Utf8ToWide(stored);
    for (wchar_t& c : shown) {
        if (c < L' ') c = L' ';
    }
    if (shown.size() > kShownChars) {
        size_t cut = kShownChars;
        if (IS_HIGH_SURROGATE(shown[cut - 1])) --cut;
        shown = shown.substr(0, cut) + L"\x2026";
    }
    return L"快捷键 " + shown + L" 不能使用（" + HotkeyRefusalText(RefusalOfText(stored)) + L"），已改用 " +
           Utf8ToWide(HotkeyText(DefaultCaptureHotkey()));
}

std::wstring HotkeyTakenText(const Hotkey& hotkey, HotkeyHolder holder) {
    const std::wstring name = Utf8ToWide(HotkeyText(hotkey));
    if (holder == HotkeyHolder::kScreenSnipping) {
        return name + L" 已被 Windows 屏幕截图占用\n可在 " + PrintScreenSettingPath(RunningWindowsBuild()) +
               L" 中关闭，或在本程序设置中换一个快捷键";
    }
    return L"快捷键 " + name + L" 已被占用";
}
