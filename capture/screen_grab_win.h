// Freezing the screen when a region capture starts: the grab into a 32-bit DIB section, and the
// dimmed copy the overlay shows outside the selection, made while the grab runs.
#pragma once

#include <cstddef>
#include <functional>
#include <thread>

#include "base/dib_canvas.h"

// Runs a grab on a second thread while the caller goes on (makes the overlay window); Wait()
// gives its result. Without a second thread the grab runs in Wait(), on the caller's thread.
class BackgroundGrab {
public:
    explicit BackgroundGrab(std::function<bool()> grab);
    ~BackgroundGrab() { Wait(); }
    BackgroundGrab(const BackgroundGrab&) = delete;
    BackgroundGrab& operator=(const BackgroundGrab&) = delete;
    bool Wait();

private:
    std::function<bool()> grab_;
    std::thread thread_;
    bool done_ = false;
    bool grabbed_ = false;
};

// Copies the screen area whose top-left corner is (left, top) into frozen (at frozen's size),
// band by band, while a second thread dims each band into dimmed as soon as it is copied. An
// empty dimmed is left alone; otherwise it must have frozen's size. False when a band cannot be
// copied.
bool GrabScreen(const DibCanvas& frozen, const DibCanvas& dimmed, int left, int top);
