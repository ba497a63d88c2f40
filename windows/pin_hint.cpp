#include "windows/pin_hint.h"

#include "base/dpi_scale.h"

std::wstring PinHintText(int secondsLeft) {
    // The light bulb is U+1F4A1 (a surrogate pair in UTF-16), the dot U+00B7.
    return L"💡 左键拖动 · ESC关闭 (" + std::to_wstring(secondsLeft) + L")";
}

PinHintMetrics ScalePinHint(const PinHintMetrics& at96, int dpi) {
    const auto scaled = [dpi](int length) { return base::ScaleToDpi(length, dpi); };
    PinHintMetrics metrics;
    metrics.size = base::Size{scaled(at96.size.cx), scaled(at96.size.cy)};
    metrics.padding = base::Rect{scaled(at96.padding.left), scaled(at96.padding.top), scaled(at96.padding.right),
                                 scaled(at96.padding.bottom)};
    metrics.fontSize = scaled(at96.fontSize);
    metrics.barHeight = scaled(at96.barHeight);
    return metrics;
}

bool PinHintFits(int hintWidth, int hintHeight, int pictureWidth, int pictureHeight) {
    return hintWidth < pictureWidth && hintHeight < pictureHeight;
}

std::optional<std::wstring> PinHintCountdown::Step() {
    if (left_ <= 0) return std::nullopt;
    std::wstring text = Text();
    --left_;
    return text;
}
