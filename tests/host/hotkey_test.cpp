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
    for (const Hotkey& hotkey : {all, DefaultCaptureHotkey(), Hotkey{kHotkeyShift, '7'},
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
    EXPECT_EQ(ReadHotkeyPress(0, 'A').kind, Kind::kWaiting);
    EXPECT_EQ(ReadHotkeyPress(kHotkeyAlt, 0xBA).kind, Kind::kWaiting);
    EXPECT_EQ(HeldModifiersText(kHotkeyShift | kHotkeyCtrl), "Ctrl+Shift+");
}
