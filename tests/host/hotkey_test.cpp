#include <gtest/gtest.h>

#include <utility>

#include "settings/hotkey.h"

namespace {
constexpr unsigned kPrint = 0x2C;
constexpr unsigned kF1 = 0x70;
}  // namespace

TEST(HotkeyText, WritesModifiersInOrderAndReadsBackAnyCase) {
    const Hotkey all{kHotkeyWin | kHotkeyShift | kHotkeyAlt | kHotkeyCtrl, 'A'};
    EXPECT_EQ(HotkeyText(all), "Ctrl+Alt+Shift+Win+A");
    EXPECT_EQ(HotkeyText(DefaultCaptureHotkey()), "PrintScreen");
    EXPECT_EQ(HotkeyText(Hotkey{kHotkeyAlt, kF1 + 23}), "Alt+F24");
    EXPECT_EQ(HotkeyText(Hotkey{kHotkeyCtrl, 0x69}), "Ctrl+Num9");
    EXPECT_EQ(HotkeyText(Hotkey{}), "");
    for (const Hotkey& hotkey : {Hotkey{kHotkeyCtrl | kHotkeyAlt | kHotkeyShift, 'A'}, DefaultCaptureHotkey(), Hotkey{kHotkeyAlt | kHotkeyShift, '7'},
                                 Hotkey{kHotkeyCtrl | kHotkeyAlt, 0x21}, Hotkey{0, kF1}}) {
        EXPECT_EQ(ParseHotkey(HotkeyText(hotkey)), hotkey) << HotkeyText(hotkey);
    }
    EXPECT_EQ(ParseHotkey(" control + SHIFT+a "), (Hotkey{kHotkeyCtrl | kHotkeyShift, 'A'}));
    EXPECT_EQ(ParseHotkey("printscreen"), (Hotkey{0, kPrint}));
    EXPECT_EQ(ParseHotkey(""), Hotkey{});
    EXPECT_EQ(ParseHotkey("  "), Hotkey{});
}

TEST(HotkeyText, RefusesWhatIsNotAnAllowedCombination) {
    // A plain key alone, a modifier twice or alone, unknown names, stray plus signs.
    for (const char* bad : {"A", "Space", "Ctrl+Ctrl+A", "Ctrl", "Ctrl+", "+A", "Ctrl++A", "Hyper+A",
                            "Ctrl+Escape", "Ctrl+F25", "Alt+Tab", "Ctrl+Shift+AB", "F0"}) {
        EXPECT_FALSE(ParseHotkey(bad)) << bad;
    }
    EXPECT_FALSE(IsAllowedHotkey(Hotkey{0x10, 'A'}));  // bits that are not modifiers
}

TEST(HotkeyText, RefusesWhatWouldTakeKeysFromOtherProgramsOrTheSystem) {
    // Shift alone takes capitals and symbols; Alt alone takes menus and navigation; F12 is the
    // debugger's.
    for (const char* bad : {"Shift+A", "Shift+Space", "Shift+F1", "Alt+Space", "Alt+Left", "Alt+Home", "Alt+Num1",
                            "F12", "Ctrl+F12", "Alt+Shift+Space"}) {
        EXPECT_FALSE(ParseHotkey(bad)) << bad;
    }
    for (const char* good : {"Alt+A", "Alt+Z", "Alt+7", "Alt+F2", "Alt+Shift+S", "Ctrl+Space", "Ctrl+Alt+F4", "Ctrl+Alt+Left",
                             "F11", "PrintScreen", "Ctrl+Num1"}) {
        EXPECT_TRUE(ParseHotkey(good)) << good;
    }
}

TEST(HotkeyPress, ChoosesClearsCancelsOrKeepsWaiting) {
    using Kind = HotkeyPress::Kind;
    const HotkeyPress chosen = ReadHotkeyPress(kHotkeyCtrl | kHotkeyShift, 'S');
    EXPECT_EQ(chosen.kind, Kind::kChosen);
    EXPECT_EQ(chosen.hotkey, (Hotkey{kHotkeyCtrl | kHotkeyShift, 'S'}));
    EXPECT_EQ(ReadHotkeyPress(0, kPrint).kind, Kind::kChosen);
    EXPECT_EQ(ReadHotkeyPress(0, kF1 + 4).kind, Kind::kChosen);
    EXPECT_EQ(ReadHotkeyPress(0, 0x1B).kind, Kind::kCancelled);
    EXPECT_EQ(ReadHotkeyPress(kHotkeyCtrl, 0x08).kind, Kind::kCleared);
    EXPECT_EQ(ReadHotkeyPress(0, 0x2E).kind, Kind::kCleared);
    // Modifier keys on their own, a letter alone, a key without a name.
    for (unsigned key : {0x10u, 0x11u, 0x12u, 0x5Bu, 0xA1u}) {
        EXPECT_EQ(ReadHotkeyPress(kHotkeyCtrl, key).kind, Kind::kWaiting) << key;
    }
    // Refused, each with the reason the field shows.
    using Refusal = HotkeyPress::Refusal;
    EXPECT_EQ(ReadHotkeyPress(0, 'A').refusal, Refusal::kNeedsModifier);
    EXPECT_EQ(ReadHotkeyPress(kHotkeyShift, 'A').refusal, Refusal::kNeedsModifier);
    EXPECT_EQ(ReadHotkeyPress(kHotkeyAlt, 0x25).refusal, Refusal::kAltNeedsLetter);  // Left
    EXPECT_EQ(ReadHotkeyPress(kHotkeyAlt, 0xBA).refusal, Refusal::kKeyNotSupported);  // ;
    EXPECT_EQ(ReadHotkeyPress(kHotkeyCtrl, 0x09).refusal, Refusal::kKeyNotSupported);  // Tab
    EXPECT_EQ(ReadHotkeyPress(kHotkeyCtrl, kF1 + 11).refusal, Refusal::kReserved);
    EXPECT_EQ(ReadHotkeyPress(kHotkeyCtrl, kF1 + 11).kind, Kind::kRefused);
    EXPECT_EQ(ReadHotkeyPress(kHotkeyCtrl, 'A').refusal, Refusal::kNone);
    EXPECT_EQ(HeldModifiersText(kHotkeyShift | kHotkeyCtrl), "Ctrl+Shift+");
}

TEST(HotkeyRules, WindowsOwnCombinationsAreRefusedWithTheirReason) {
    using Refusal = HotkeyPress::Refusal;
    constexpr unsigned kTab = 0x09, kEscape = 0x1B, kDelete = 0x2E, kF4 = kF1 + 3;
    // Pressed: Alt+F4, Alt+Tab, Alt+Esc, Alt+Space, Ctrl+Esc, Ctrl+Alt+Delete, with Shift too, and
    // anything with Win, even the keys that otherwise clear or cancel.
    const std::pair<unsigned, unsigned> pressed[] = {
        {kHotkeyAlt, kF4},   {kHotkeyAlt | kHotkeyShift, kF4}, {kHotkeyAlt, kTab},
        {kHotkeyCtrl | kHotkeyAlt, kTab}, {kHotkeyAlt, kEscape}, {kHotkeyAlt, 0x20},
        {kHotkeyCtrl, kEscape}, {kHotkeyCtrl | kHotkeyShift, kEscape}, {kHotkeyCtrl | kHotkeyAlt, kDelete},
        {kHotkeyWin, 'L'},   {kHotkeyWin, 'D'}, {kHotkeyWin, kTab}, {kHotkeyWin, 0x13}, {kHotkeyWin, kF1},
        {kHotkeyWin | kHotkeyShift, 'S'}, {kHotkeyWin | kHotkeyCtrl, 'A'}, {kHotkeyWin, 0x08}};
    for (const auto& [modifiers, key] : pressed) {
        const HotkeyPress press = ReadHotkeyPress(modifiers, key);
        EXPECT_EQ(press.kind, HotkeyPress::Kind::kRefused) << modifiers << "+" << key;
        EXPECT_EQ(press.refusal, Refusal::kSystemCombination) << modifiers << "+" << key;
    }
    // Near them but free: the same keys with other modifiers.
    EXPECT_EQ(ReadHotkeyPress(kHotkeyCtrl, kF4).kind, HotkeyPress::Kind::kChosen);
    EXPECT_EQ(ReadHotkeyPress(kHotkeyCtrl | kHotkeyAlt, kF4).kind, HotkeyPress::Kind::kChosen);
    EXPECT_EQ(ReadHotkeyPress(kHotkeyCtrl, kDelete).kind, HotkeyPress::Kind::kCleared);
    EXPECT_EQ(ReadHotkeyPress(kHotkeyShift, kEscape).kind, HotkeyPress::Kind::kCancelled);
    // Stored, they do not read, and say why.
    for (const char* text : {"Alt+F4", "Alt+Shift+F4", "Alt+Space", "Win+L", "Win+R", "Win+Pause", "Win+F1",
                             "Win+Shift+S", "Ctrl+Win+D"}) {
        EXPECT_FALSE(ParseHotkey(text)) << text;
        EXPECT_EQ(RefusalOfText(text), Refusal::kSystemCombination) << text;
    }
}

TEST(HotkeyRules, AStoredTextSaysWhyItDoesNotRead) {
    using Refusal = HotkeyPress::Refusal;
    EXPECT_EQ(RefusalOfText("Shift+A"), Refusal::kNeedsModifier);
    EXPECT_EQ(RefusalOfText("Alt+Left"), Refusal::kAltNeedsLetter);
    EXPECT_EQ(RefusalOfText("Ctrl+F12"), Refusal::kReserved);
    for (const char* text : {"Hyper+A", "Ctrl+", "Alt+Tab", "Ctrl+Ctrl+A"}) {
        EXPECT_EQ(RefusalOfText(text), Refusal::kKeyNotSupported) << text;
    }
    for (const char* text : {"Ctrl+Shift+A", "PrintScreen", "", " "}) {
        EXPECT_EQ(RefusalOfText(text), Refusal::kNone) << text;
    }
}
