#include "http/worker_thread.h"

constexpr std::chrono::milliseconds WorkerThread::kDefaultWait;

void WorkerThread::Start(std::function<void()> body) {
    Join(kDefaultWait);
    auto done = std::make_shared<Done>();
    // The thread keeps its own reference: the flag outlives this object when the thread is let go.
    thread_ = std::thread([done, body = std::move(body)] {
        try {
            body();
        } catch (...) {
            // Network work that fails ends quietly; nobody is left to report it to.
        }
        std::lock_guard<std::mutex> lock(done->mutex);
        done->done = true;
        done->changed.notify_all();
    });
    done_ = std::move(done);
}

bool WorkerThread::Join(std::chrono::milliseconds limit) {
    if (!thread_.joinable()) return true;
    bool ended;
    {
        std::unique_lock<std::mutex> lock(done_->mutex);
        ended = done_->changed.wait_for(lock, limit, [this] { return done_->done; });
    }
    if (ended) {
        thread_.join();
    } else {
        thread_.detach();
    }
    done_.reset();
    return ended;
}

bool WorkerThread::Running() const {
    if (!done_) return false;
    std::lock_guard<std::mutex> lock(done_->mutex);
    return !done_->done;
}
