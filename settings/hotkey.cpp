#include "settings/hotkey.h"

#include <cctype>

namespace {

// Virtual-key codes.
constexpr unsigned kBackspace = 0x08;
constexpr unsigned kTab = 0x09;
constexpr unsigned kEscape = 0x1B;
constexpr unsigned kSpace = 0x20;
constexpr unsigned kPrintScreen = 0x2C;
constexpr unsigned kDelete = 0x2E;
constexpr unsigned kF1 = 0x70;
constexpr unsigned kF4 = 0x73;
constexpr unsigned kF12 = 0x7B;
constexpr unsigned kF24 = 0x87;
constexpr unsigned kNumpad0 = 0x60;

struct NamedKey {
    unsigned key;
    const char* name;
};
constexpr NamedKey kNamedKeys[] = {
    {0x13, "Pause"},    {0x20, "Space"},     {0x21, "PageUp"}, {0x22, "PageDown"},
    {0x23, "End"},      {0x24, "Home"},      {0x25, "Left"},   {0x26, "Up"},
    {0x27, "Right"},    {0x28, "Down"},      {kPrintScreen, "PrintScreen"},
    {0x2D, "Insert"},
};

struct NamedModifier {
    unsigned bit;
    const char* name;
};
// In the order the text writes them.
constexpr NamedModifier kModifiers[] = {
    {kHotkeyCtrl, "Ctrl"}, {kHotkeyAlt, "Alt"}, {kHotkeyShift, "Shift"}, {kHotkeyWin, "Win"}};
constexpr unsigned kAllModifiers = kHotkeyCtrl | kHotkeyAlt | kHotkeyShift | kHotkeyWin;

bool IsModifierKey(unsigned key) {
    // Shift, Ctrl, Alt; both Windows keys; the left and right Shift, Ctrl and Alt.
    return (key >= 0x10 && key <= 0x12) || key == 0x5B || key == 0x5C || (key >= 0xA0 && key <= 0xA5);
}

bool IsFunctionKey(unsigned key) { return key >= kF1 && key <= kF24; }

std::string KeyName(unsigned key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
    if (IsFunctionKey(key)) return "F" + std::to_string(key - kF1 + 1);
    if (key >= kNumpad0 && key <= kNumpad0 + 9) return "Num" + std::to_string(key - kNumpad0);
    for (const NamedKey& named : kNamedKeys) {
        if (named.key == key) return named.name;
    }
    return std::string();
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The key a (lower-case) name stands for; 0 for none. Keys have few enough names to search.
unsigned KeyNamed(const std::string& lowerName) {
    for (unsigned key = 1; key <= 0xFE; ++key) {
        const std::string name = KeyName(key);
        if (!name.empty() && Lower(name) == lowerName) return key;
    }
    return 0;
}

unsigned ModifierNamed(const std::string& lowerName) {
    if (lowerName == "control") return kHotkeyCtrl;
    for (const NamedModifier& modifier : kModifiers) {
        if (Lower(modifier.name) == lowerName) return modifier.bit;
    }
    return 0;
}

// Combinations Windows itself acts on, whatever program has the focus; Shift held as well
// changes nothing (Alt+Shift+Tab goes backwards, Ctrl+Shift+Esc opens the Task Manager). Windows
// combinations are not listed: RegisterHotKey's documentation (MOD_WIN) reserves every keyboard
// shortcut with the Windows key for the system, which adds new ones over time (Win+L, Win+D,
// Win+Tab, Win+Shift+S...).
struct SystemCombination {
    unsigned modifiers;
    unsigned key;
};
constexpr SystemCombination kSystemCombinations[] = {
    {kHotkeyAlt, kF4},    {kHotkeyAlt, kTab},    {kHotkeyCtrl | kHotkeyAlt, kTab}, {kHotkeyAlt, kEscape},
    {kHotkeyAlt, kSpace}, {kHotkeyCtrl, kEscape}, {kHotkeyCtrl | kHotkeyAlt, kDelete},
};

bool IsSystemCombination(unsigned modifiers, unsigned key) {
    if (modifiers & kHotkeyWin) return true;
    for (const SystemCombination& combination : kSystemCombinations) {
        if (combination.key == key && combination.modifiers == (modifiers & ~kHotkeyShift)) return true;
    }
    return false;
}

bool IsLetterOrDigit(unsigned key) { return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'); }

// Why a named key with these modifiers cannot be a hotkey; kNone when it can.
HotkeyPress::Refusal RefusalOf(const Hotkey& hotkey) {
    using Refusal = HotkeyPress::Refusal;
    if ((hotkey.modifiers & ~kAllModifiers) != 0) return Refusal::kKeyNotSupported;
    if (IsSystemCombination(hotkey.modifiers, hotkey.key)) return Refusal::kSystemCombination;
    if (KeyName(hotkey.key).empty()) return Refusal::kKeyNotSupported;
    if (hotkey.key == kF12) return Refusal::kReserved;
    if (hotkey.modifiers == 0) {
        return IsFunctionKey(hotkey.key) || hotkey.key == kPrintScreen ? Refusal::kNone : Refusal::kNeedsModifier;
    }
    if ((hotkey.modifiers & (kHotkeyCtrl | kHotkeyAlt)) == 0) return Refusal::kNeedsModifier;
    const bool altOnly = (hotkey.modifiers & kHotkeyCtrl) == 0;
    if (altOnly && !IsLetterOrDigit(hotkey.key) && !IsFunctionKey(hotkey.key)) return Refusal::kAltNeedsLetter;
    return Refusal::kNone;
}

}  // namespace

Hotkey DefaultCaptureHotkey() { return Hotkey{0, kPrintScreen}; }

bool IsAllowedHotkey(const Hotkey& hotkey) { return RefusalOf(hotkey) == HotkeyPress::Refusal::kNone; }

std::string HeldModifiersText(unsigned modifiers) {
    std::string text;
    for (const NamedModifier& modifier : kModifiers) {
        if (modifiers & modifier.bit) text += std::string(modifier.name) + "+";
    }
    return text;
}

std::string HotkeyText(const Hotkey& hotkey) {
    const std::string key = KeyName(hotkey.key);
    return key.empty() ? std::string() : HeldModifiersText(hotkey.modifiers) + key;
}

namespace {

// The combination a hotkey's text names, allowed or not; nothing for text that names none.
std::optional<Hotkey> ReadCombination(const std::string& text) {
    if (Trimmed(text).empty()) return Hotkey{};
    Hotkey hotkey;
    size_t start = 0;
    while (true) {
        const size_t plus = text.find('+', start);
        const std::string part = Lower(Trimmed(text.substr(start, plus == std::string::npos ? plus : plus - start)));
        if (plus == std::string::npos) {
            hotkey.key = KeyNamed(part);
            break;
        }
        const unsigned bit = ModifierNamed(part);
        if (bit == 0 || (hotkey.modifiers & bit)) return std::nullopt;  // unknown or repeated
        hotkey.modifiers |= bit;
        start = plus + 1;
    }
    if (hotkey.key == 0) return std::nullopt;
    return hotkey;
}

}  // namespace

std::optional<Hotkey> ParseHotkey(const std::string& text) {
    const std::optional<Hotkey> hotkey = ReadCombination(text);
    if (!hotkey || (!hotkey->IsNone() && !IsAllowedHotkey(*hotkey))) return std::nullopt;
    return hotkey;
}

HotkeyPress::Refusal RefusalOfText(const std::string& text) {
    const std::optional<Hotkey> hotkey = ReadCombination(text);
    if (!hotkey) return HotkeyPress::Refusal::kKeyNotSupported;
    return hotkey->IsNone() ? HotkeyPress::Refusal::kNone : RefusalOf(*hotkey);
}

HotkeyPress ReadHotkeyPress(unsigned modifiers, unsigned key) {
    using Kind = HotkeyPress::Kind;
    const Hotkey pressed{modifiers & kAllModifiers, key};
    if (IsModifierKey(key)) return HotkeyPress{Kind::kWaiting, Hotkey{}};
    // Ctrl+Esc or Ctrl+Alt+Delete, should one arrive, is refused with its reason rather than
    // taken for Escape or Delete.
    if (IsSystemCombination(pressed.modifiers, key)) {
        return HotkeyPress{Kind::kRefused, Hotkey{}, HotkeyPress::Refusal::kSystemCombination};
    }
    if (key == kEscape) return HotkeyPress{Kind::kCancelled, Hotkey{}};
    if (key == kBackspace || key == kDelete) return HotkeyPress{Kind::kCleared, Hotkey{}};
    const HotkeyPress::Refusal refusal = RefusalOf(pressed);
    if (refusal != HotkeyPress::Refusal::kNone) return HotkeyPress{Kind::kRefused, Hotkey{}, refusal};
    return HotkeyPress{Kind::kChosen, pressed};
}
