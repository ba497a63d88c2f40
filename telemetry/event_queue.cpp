#include "telemetry/event_queue.h"

#include "telemetry/usage_events.h"

void EventQueue::Halt() {
    RequestStop();
    if (thread_.joinable()) thread_.join();
}

void EventQueue::Start(Sender sender) {
    Halt();
    stop_.exchange(false);
    sender_ = std::move(sender);
    thread_ = std::thread(&EventQueue::Run, this);
}

void EventQueue::Push(int event, std::wstring data) {
    if (!UsageEventName(event)) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(QueuedEvent{event, std::move(data)});
    }
    wake_.notify_all();
}

void EventQueue::RequestStop() {
    {
        // Set under the mutex: a sender between testing the flag and starting to wait would
        // otherwise miss the wake-up and wait for ever.
        std::lock_guard<std::mutex> lock(mutex_);
        stop_.exchange(true);
    }
    wake_.notify_all();
}

void EventQueue::Stop() {
    Halt();
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.clear();
}

size_t EventQueue::Pending() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return queue_.size();
}

void EventQueue::Run() {
    while (!stop_.load()) {
        QueuedEvent event;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return !queue_.empty() || stop_.load(); });
            // Woken to stop: what is still queued is dropped, nothing new is sent.
            if (stop_.load() || queue_.empty()) continue;
            event = std::move(queue_.front());
            queue_.pop_front();
        }
        try {
            sender_(event);
        } catch (...) {
            // A send that fails in any way loses this event; the sender goes on with the next.
        }
    }
}
