// The hint bar of a pinned picture: its countdown text and when it is shown. Pure code.
#pragma once

#include <optional>
#include <string>

#include "base/geometry.h"

// "💡 左键拖动 · ESC关闭 (" + seconds + ")".
std::wstring PinHintText(int secondsLeft);

// The hint's measures: its label's size, padding and font size, and the height of the bar that
// holds it.
struct PinHintMetrics {
    base::Size size;
    base::Rect padding;  // left, top, right, bottom
    int fontSize = 0;
    int barHeight = 0;
};

// The measures the skin gives for 96 DPI, at the pin's DPI: the pin shows the picture pixel for
// pixel on its monitor, so its hint is sized for that monitor.
PinHintMetrics ScalePinHint(const PinHintMetrics& at96, int dpi);

// The hint bar is shown only over a picture larger than the hint in both directions.
bool PinHintFits(int hintWidth, int hintHeight, int pictureWidth, int pictureHeight);

// The hint's countdown, stepped once a second. Each step gives the text to show, or nothing
// once the countdown has run out and the hint is to be hidden.
class PinHintCountdown {
public:
    explicit PinHintCountdown(int seconds) : left_(seconds) {}

    std::wstring Text() const { return PinHintText(left_); }
    // One second passed: the text to show now (the current count, which then goes down by
    // one), or nothing when the hint is to be hidden.
    std::optional<std::wstring> Step();

private:
    int left_;
};
