// The capture hotkey: a key combination as RegisterHotKey takes it, its text in the settings file
// ("PrintScreen", "Ctrl+Shift+A", "Alt+F1"; empty for none) and what a key press in the settings
// window makes of it. Pure code: the modifier bits and key codes are the system's values.
#pragma once

#include <optional>
#include <string>

// Modifier bits, as MOD_ALT, MOD_CONTROL, MOD_SHIFT and MOD_WIN.
enum HotkeyModifier : unsigned {
    kHotkeyAlt = 0x1,
    kHotkeyCtrl = 0x2,
    kHotkeyShift = 0x4,
    kHotkeyWin = 0x8,
};

struct Hotkey {
    unsigned modifiers = 0;  // HotkeyModifier bits
    unsigned key = 0;        // a virtual-key code; 0 is no hotkey
    bool IsNone() const { return key == 0; }
    bool operator==(const Hotkey& other) const { return modifiers == other.modifiers && key == other.key; }
    bool operator!=(const Hotkey& other) const { return !(*this == other); }
};

// PrintScreen alone.
Hotkey DefaultCaptureHotkey();

// Whether the combination may be a hotkey, registered for the whole system: a named key with
// Ctrl or Alt among its modifiers (Alt without Ctrl only with a letter, digit or function key:
// Alt+Space opens every window's menu), or a function key or PrintScreen alone. Never Shift alone
// with a key (it would take a capital letter from every program), never F12, which Windows keeps
// for debuggers, and never the system's own combinations: Alt+F4, Alt+Tab, Alt+Esc, Alt+Space,
// Ctrl+Esc, Ctrl+Alt+Tab and Ctrl+Alt+Delete (with Shift too), and any combination with Win.
// Punctuation, Tab, Enter and the like have no name here and cannot be chosen.
bool IsAllowedHotkey(const Hotkey& hotkey);

// "Ctrl+Alt+Shift+Win+Key" with the modifiers held, in that order; empty for none or for a key
// without a name.
std::string HotkeyText(const Hotkey& hotkey);

// The modifiers held so far while a combination is being pressed: "Ctrl+Shift+"; empty for none.
std::string HeldModifiersText(unsigned modifiers);

// Reads a hotkey's text (names in any letter case, spaces around them ignored). The empty text is
// no hotkey. Nothing for text that does not name an allowed combination.
std::optional<Hotkey> ParseHotkey(const std::string& text);

// What one key press does to a settings field that is waiting for a combination.
struct HotkeyPress {
    enum class Kind {
        kWaiting,    // a modifier alone: keep waiting
        kRefused,    // a combination that cannot be a hotkey (see refusal): keep waiting
        kChosen,     // hotkey holds the new combination
        kCleared,    // Backspace or Delete: no hotkey
        kCancelled,  // Escape: the field keeps what it had
    };
    enum class Refusal {
        kNone,
        kNeedsModifier,    // needs Ctrl or Alt
        kAltNeedsLetter,   // Alt without Ctrl, with a key other than a letter, digit or F-key
        kKeyNotSupported,  // a key that cannot be chosen (punctuation, Tab, Enter...)
        kReserved,         // F12
        kSystemCombination,  // Windows' own: Alt+F4, Ctrl+Esc, Win+L...
    };
    Kind kind = Kind::kWaiting;
    Hotkey hotkey;
    Refusal refusal = Refusal::kNone;
};
// key is the pressed key's virtual-key code, modifiers the modifier keys held with it.
HotkeyPress ReadHotkeyPress(unsigned modifiers, unsigned key);

// Why a hotkey's text (as a settings file holds it) names no allowed combination: the rule the
// combination it names breaks, or kKeyNotSupported when it names none. kNone when ParseHotkey
// reads it.
HotkeyPress::Refusal RefusalOfText(const std::string& text);
