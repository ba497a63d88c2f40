#include "capture/screen_grab_win.h"

#include <condition_variable>
#include <mutex>
#include <system_error>

#include "base/screen_copy.h"
#include "capture/screen_dimming.h"

BackgroundGrab::BackgroundGrab(std::function<bool()> grab) : grab_(std::move(grab)) {
    try {
        thread_ = std::thread([this] { grabbed_ = grab_(); });
    } catch (const std::system_error&) {
        // No second thread: Wait grabs.
    }
}

bool BackgroundGrab::Wait() {
    if (done_) return grabbed_;
    done_ = true;
    if (thread_.joinable()) {
        thread_.join();
    } else {
        grabbed_ = grab_();
    }
    return grabbed_;
}

namespace {

// Dims the rows of the frozen screen as the grab reports them copied, on a thread of its own.
// Without an output buffer it does nothing.
class BandDimmer {
public:
    BandDimmer(const uint32_t* in, uint32_t* out, int width) : in_(in), out_(out), width_(width) {
        if (!out_) return;
        try {
            worker_ = std::thread(&BandDimmer::Run, this);
        } catch (const std::system_error&) {
            // No second thread: Finish dims everything on the caller's thread.
        }
    }
    ~BandDimmer() { Finish(); }
    BandDimmer(const BandDimmer&) = delete;
    BandDimmer& operator=(const BandDimmer&) = delete;

    // Rows [0, rows) are copied.
    void Copied(int rows) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            copied_ = rows;
        }
        wake_.notify_one();
    }

    // Returns once every copied row is dimmed.
    void Finish() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        wake_.notify_one();
        if (worker_.joinable()) {
            worker_.join();
        } else {
            Dim(dimmed_, copied_);
            dimmed_ = copied_;
        }
    }

private:
    void Run() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return copied_ > dimmed_ || finished_; });
            if (copied_ == dimmed_) return;  // finished, nothing left
            const int from = dimmed_, to = copied_;
            lock.unlock();
            Dim(from, to);
            lock.lock();
            dimmed_ = to;
        }
    }

    void Dim(int from, int to) const {
        if (!out_) return;
        const size_t first = static_cast<size_t>(from) * width_;
        capture::DimPixels(in_ + first, out_ + first, static_cast<size_t>(to - from) * width_);
    }

    const uint32_t* in_;
    uint32_t* out_;
    int width_;
    std::mutex mutex_;
    std::condition_variable wake_;
    int copied_ = 0;
    int dimmed_ = 0;
    bool finished_ = false;
    std::thread worker_;
};

// Bands per grab: enough that the last band's dimming, which cannot overlap the copying, is
// short; few enough that the per-copy cost stays small.
constexpr int kBands = 8;

}  // namespace

bool GrabScreen(const DibCanvas& frozen, const DibCanvas& dimmed, int left, int top) {
    const int width = frozen.Width(), height = frozen.Height();
    if (!frozen || (dimmed && (dimmed.Width() != width || dimmed.Height() != height))) return false;
    HDC screen = GetDC(nullptr);
    if (!screen) return false;
    bool ok = true;
    {
        BandDimmer dimmer(frozen.Bits(), dimmed.Bits(), width);
        for (int band = 0; band < kBands && ok; ++band) {
            const int y0 = height * band / kBands, y1 = height * (band + 1) / kBands;
            ok = BitBlt(frozen.Dc(), 0, y0, width, y1 - y0, screen, left, top + y0, kScreenCopyRop) != FALSE;
            GdiFlush();  // the pixels must be in the bitmap before the other thread reads them
            if (ok) dimmer.Copied(y1);
        }
        dimmer.Finish();
    }
    ReleaseDC(nullptr, screen);
    return ok;
}
