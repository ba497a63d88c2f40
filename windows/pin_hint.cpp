#include "windows/pin_hint.h"

std::wstring PinHintText(int secondsLeft) {
    // The light bulb is U+1F4A1 (a surrogate pair in UTF-16), the dot U+00B7.
    return L"💡 左键拖动 · ESC关闭 (" + std::to_wstring(secondsLeft) + L")";
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
