// Freezing the screen when a region capture starts: the grab into a 32-bit DIB section, and the
// dimmed copy the overlay shows outside the selection, made while the grab runs.
#pragma once

#include <cstddef>
#include <thread>

#include "base/dib_canvas.h"

// Writes to every page of a freshly made buffer on a second thread, so that a later grab into it
// does not stop at each new page. Finished by Wait() or on destruction. Without a second thread
// it does nothing: the pages then come in as they are first written.
class PageWarmer {
public:
    PageWarmer(void* bits, size_t bytes);
    ~PageWarmer() { Wait(); }
    PageWarmer(const PageWarmer&) = delete;
    PageWarmer& operator=(const PageWarmer&) = delete;
    void Wait();

private:
    std::thread thread_;
};

// Copies the screen area whose top-left corner is (left, top) into frozen (at frozen's size),
// band by band, while a second thread dims each band into dimmed as soon as it is copied. An
// empty dimmed is left alone; otherwise it must have frozen's size. False when a band cannot be
// copied.
bool GrabScreen(const DibCanvas& frozen, const DibCanvas& dimmed, int left, int top);
