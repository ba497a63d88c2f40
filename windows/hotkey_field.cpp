#include "windows/hotkey_field.h"

#include "base/utf_convert.h"
#include "windows/print_screen_setting.h"

namespace {

constexpr DWORD kTextColor = 0xFF262626;
constexpr DWORD kPromptColor = 0xFF8C8C8C;
constexpr DWORD kBorderColor = 0xFFD9D9D9;
constexpr DWORD kListeningBorderColor = 0xFF1677FF;
constexpr wchar_t kPrompt[] = L"\x8BF7\x6309\x4E0B\x5FEB\x6377\x952E";  // 请按下快捷键
constexpr wchar_t kNone[] = L"\x65E0";                                  // 无
constexpr DWORD kTakenColor = 0xFFD4380D;
constexpr wchar_t kTakenMark[] = L"（已被占用）";
constexpr wchar_t kTakenTip[] = L"另一个程序占用了此键：点击后按下新的快捷键";
// How long the field says why a combination was refused.
constexpr UINT kRefusalMs = 1500;

bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

unsigned HeldModifiers() {
    unsigned modifiers = 0;
    if (KeyDown(VK_CONTROL)) modifiers |= kHotkeyCtrl;
    if (KeyDown(VK_MENU)) modifiers |= kHotkeyAlt;
    if (KeyDown(VK_SHIFT)) modifiers |= kHotkeyShift;
    if (KeyDown(VK_LWIN) || KeyDown(VK_RWIN)) modifiers |= kHotkeyWin;
    return modifiers;
}

}  // namespace

void HotkeyField::Attach(DuiLib::CLabelUI* field, const Hotkey& hotkey, ListeningHook hook,
                         std::optional<TakenHotkey> taken) {
    field_ = field;
    tooltip_ = field ? field->GetToolTip().Str() : std::wstring();
    taken_ = taken;
    value_ = hotkey;
    hook_ = std::move(hook);
    ShowValue();
}

void HotkeyField::Listen() {
    if (!field_ || listening_) return;
    listening_ = true;
    if (hook_) hook_(true);
    ShowPrompt(kPrompt);
}

void HotkeyField::StopListening() {
    if (!listening_) return;
    listening_ = false;
    EndRefusal();
    if (hook_) hook_(false);
    ShowValue();
}

bool HotkeyField::OnWindowMessage(UINT message, WPARAM key) {
    if (message == WM_TIMER && key == HotkeyField::kRefusalTimer) {
        EndRefusal();
        if (listening_) ShowHeldModifiers();
        return true;
    }
    if (!listening_) return false;
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    const bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
    // Characters and system keys would beep or open the window menu while the field reads.
    if (message == WM_CHAR || message == WM_SYSCHAR) return true;
    if (!down && !up) return false;
    // PrintScreen comes as a key release only.
    if (down || key == VK_SNAPSHOT) {
        const HotkeyPress press = ReadHotkeyPress(HeldModifiers(), static_cast<unsigned>(key));
        switch (press.kind) {
            case HotkeyPress::Kind::kChosen: value_ = press.hotkey; StopListening(); return true;
            case HotkeyPress::Kind::kCleared: value_ = Hotkey{}; StopListening(); return true;
            case HotkeyPress::Kind::kCancelled: StopListening(); return true;
            case HotkeyPress::Kind::kRefused: ShowRefusal(press.refusal); return true;
            case HotkeyPress::Kind::kWaiting: EndRefusal(); break;
        }
    }
    // The reason for a refusal stays a moment, even as the keys are let go.
    if (!refusing_) ShowHeldModifiers();
    return true;
}

void HotkeyField::ShowHeldModifiers() {
    // The modifiers held so far, as the user presses them.
    const std::wstring held = Utf8ToWide(HeldModifiersText(HeldModifiers()));
    ShowPrompt(held.empty() ? std::wstring(kPrompt) : held);
}

void HotkeyField::ShowRefusal(HotkeyPress::Refusal refusal) {
    refusing_ = true;
    Paint(HotkeyRefusalText(refusal), kTakenColor, kListeningBorderColor);
    if (HWND window = Window()) SetTimer(window, kRefusalTimer, kRefusalMs, nullptr);
}

HWND HotkeyField::Window() const {
    return field_ && field_->GetManager() ? field_->GetManager()->GetPaintWindow() : nullptr;
}

void HotkeyField::EndRefusal() {
    if (!refusing_) return;
    refusing_ = false;
    if (HWND window = Window()) KillTimer(window, kRefusalTimer);
}

void HotkeyField::ShowValue() {
    const std::wstring text = Utf8ToWide(HotkeyText(value_));
    const bool taken = taken_ && !value_.IsNone() && value_ == taken_->hotkey;
    if (field_) {
        const bool snipping = taken && taken_->holder == HotkeyHolder::kScreenSnipping;
        const std::wstring snippingTip = L"Windows 屏幕截图占用了此键：可在 " +
                                         PrintScreenSettingPath(RunningWindowsBuild()) + L" 中关闭，或点击后按下新的快捷键";
        field_->SetToolTip(snipping ? snippingTip.c_str() : taken ? kTakenTip : tooltip_.c_str());
    }
    if (taken) {
        Paint(text + kTakenMark, kTakenColor, kTakenColor);
    } else {
        Paint(text.empty() ? kNone : text, kTextColor, kBorderColor);
    }
}

void HotkeyField::ShowPrompt(const std::wstring& text) { Paint(text, kPromptColor, kListeningBorderColor); }

void HotkeyField::Paint(const std::wstring& text, DWORD textColor, DWORD borderColor) {
    if (!field_) return;
    field_->SetText(text.c_str());
    field_->SetTextColor(textColor);
    field_->SetBorderColor(borderColor);
    field_->Invalidate();
}
