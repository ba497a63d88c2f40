#include <gtest/gtest.h>

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
    for (const Hotkey& hotkey : {all, DefaultCaptureHotkey(), Hotkey{kHotkeyAlt | kHotkeyShift, '7'},
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
    for (const char* good : {"Alt+A", "Alt+7", "Alt+F2", "Alt+Shift+S", "Ctrl+Space", "Win+Shift+S", "Ctrl+Alt+Left",
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
    EXPECT_EQ(ReadHotkeyPress(kHotkeyAlt, 0x20).refusal, Refusal::kAltNeedsLetter);
    EXPECT_EQ(ReadHotkeyPress(kHotkeyAlt, 0xBA).refusal, Refusal::kKeyNotSupported);  // ;
    EXPECT_EQ(ReadHotkeyPress(kHotkeyCtrl, 0x09).refusal, Refusal::kKeyNotSupported);  // Tab
    EXPECT_EQ(ReadHotkeyPress(kHotkeyCtrl, kF1 + 11).refusal, Refusal::kReserved);
    EXPECT_EQ(ReadHotkeyPress(kHotkeyCtrl, kF1 + 11).kind, Kind::kRefused);
    EXPECT_EQ(ReadHotkeyPress(kHotkeyCtrl, 'A').refusal, Refusal::kNone);
    EXPECT_EQ(HeldModifiersText(kHotkeyShift | kHotkeyCtrl), "Ctrl+Shift+");
}
