// The pinned picture's hint bar: its countdown text, when it is shown at all, and the steps of
// its countdown.
#include <gtest/gtest.h>

#include "windows/pin_hint.h"

TEST(PinHint, TextEndsInTheCountdownInBrackets) {
    EXPECT_EQ(PinHintText(3), L"\U0001F4A1 \x5DE6\x952E\x62D6\x52A8 \x00B7 ESC\x5173\x95ED (3)");
    EXPECT_EQ(PinHintText(10).substr(PinHintText(10).size() - 4), L"(10)");
    EXPECT_EQ(PinHintText(0).back(), L')');
}

TEST(PinHint, ShownOnlyOverAPictureLargerThanTheHintBothWays) {
    EXPECT_TRUE(PinHintFits(200, 40, 600, 400));
    EXPECT_TRUE(PinHintFits(200, 40, 201, 41));
    EXPECT_FALSE(PinHintFits(200, 40, 200, 400));
    EXPECT_FALSE(PinHintFits(200, 40, 600, 40));
    EXPECT_FALSE(PinHintFits(200, 40, 150, 30));
}

TEST(PinHint, CountdownShowsThreeTwiceThenTwoAndOneThenHides) {
    PinHintCountdown countdown(3);
    EXPECT_EQ(countdown.Text(), PinHintText(3));  // shown when the window opens
    std::vector<std::wstring> shown;
    for (int step = 0; step < 3; ++step) {
        const std::optional<std::wstring> text = countdown.Step();
        ASSERT_TRUE(text.has_value()) << step;
        shown.push_back(*text);
    }
    EXPECT_EQ(shown, (std::vector<std::wstring>{PinHintText(3), PinHintText(2), PinHintText(1)}));
    EXPECT_FALSE(countdown.Step().has_value());
    EXPECT_FALSE(countdown.Step().has_value()) << "stays hidden";
    EXPECT_FALSE(PinHintCountdown(0).Step().has_value());
    EXPECT_FALSE(PinHintCountdown(-2).Step().has_value());
}

// The skin's hint (200x40, padding 15,5,5,0, 14-pixel font, in a 50-pixel bar) on the pin's
// monitor: one and a half times at 144 DPI, rounded half away from zero; as given at 96.
TEST(PinHint, SizedForThePinsMonitor) {
    const PinHintMetrics skin{{200, 40}, {15, 5, 5, 0}, 14, 50};
    const PinHintMetrics at144 = ScalePinHint(skin, 144);
    EXPECT_EQ(at144.size, (base::Size{300, 60}));
    EXPECT_EQ(at144.padding, (base::Rect{23, 8, 8, 0}));
    EXPECT_EQ(at144.fontSize, 21);
    EXPECT_EQ(at144.barHeight, 75);
    const PinHintMetrics at96 = ScalePinHint(skin, 96);
    EXPECT_EQ(at96.size, skin.size);
    EXPECT_EQ(at96.padding, skin.padding);
    EXPECT_EQ(at96.fontSize, 14);
    EXPECT_EQ(at96.barHeight, 50);
    EXPECT_EQ(ScalePinHint(skin, 120).size, (base::Size{250, 50}));
}
