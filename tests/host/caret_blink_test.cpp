#include <gtest/gtest.h>

#include "annotation/caret_blink.h"

TEST(CaretBlink, TheSystemTimeWithDefaultsForUnsetAndOff) {
    EXPECT_EQ(CaretBlinkInterval(530), 530u);
    EXPECT_EQ(CaretBlinkInterval(0), 500u);                    // not set
    EXPECT_EQ(CaretBlinkInterval(0xFFFFFFFFu), kSteadyCaret);  // blinking turned off
}
