// How often the text editor's caret blinks, from the system's caret blink time. Pure code.
#pragma once

// No blinking: the caret stays on.
constexpr unsigned kSteadyCaret = 0;

// The system's time in milliseconds; 0 (not set) blinks every 500 ms, and INFINITE (the user
// turned blinking off) gives a steady caret.
constexpr unsigned CaretBlinkInterval(unsigned systemTime) {
    if (systemTime == 0xFFFFFFFFu) return kSteadyCaret;
    return systemTime == 0 ? 500 : systemTime;
}
