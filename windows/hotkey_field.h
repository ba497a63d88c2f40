// The settings window's hotkey field: shows the chosen combination (marked when another program
// holds it); clicked, it shows "请按下快捷键" and takes the next combination pressed (Backspace
// or Delete clear it, Escape keeps what it had). The window passes it its keyboard messages.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "settings/hotkey.h"
#include "windows/capture_hotkey.h"
#include "ui_toolkit/UIlib.h"

class HotkeyField {
public:
    // The window timer that ends the field's word on a refused combination.
    static constexpr UINT_PTR kRefusalTimer = 0x484B;

    // Told true when the field starts waiting for a combination and false when it stops.
    using ListeningHook = std::function<void(bool listening)>;

    // taken: the stored hotkey when another program holds it, shown as such.
    void Attach(DuiLib::CLabelUI* field, const Hotkey& hotkey, ListeningHook hook,
                std::optional<TakenHotkey> taken = std::nullopt);
    bool Is(const DuiLib::CControlUI* control) const { return control && control == field_; }
    const Hotkey& Value() const { return value_; }

    void Listen();
    void StopListening();
    // A message of the window (its keys, and the field's own timer); true when the field took it.
    bool OnWindowMessage(UINT message, WPARAM key);

private:
    // The chosen combination ("无" for none), or a prompt while waiting.
    void ShowValue();
    void ShowPrompt(const std::wstring& text);
    void ShowHeldModifiers();
    // Says in the field, for a moment, why the combination pressed cannot be a hotkey.
    void ShowRefusal(HotkeyPress::Refusal refusal);
    void EndRefusal();
    // The window the field is in (its timer's), or null.
    HWND Window() const;
    void Paint(const std::wstring& text, DWORD textColor, DWORD borderColor);

    DuiLib::CLabelUI* field_ = nullptr;
    std::wstring tooltip_;
    std::optional<TakenHotkey> taken_;
    Hotkey value_;
    ListeningHook hook_;
    bool listening_ = false;
    bool refusing_ = false;
};
