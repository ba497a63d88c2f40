#include "telemetry/event_queue.h"

#include "telemetry/usage_events.h"

bool EventQueue::Halt(std::chrono::milliseconds wait) {
    {
        // Changed under the mutex: a sender between testing the number and starting to wait
        // would otherwise miss the wake-up and wait for ever.
        std::lock_guard<std::mutex> lock(shared_->mutex);
        ++shared_->generation;
    }
    shared_->wake.notify_all();
    return thread_.Join(wait);
}

void EventQueue::Start(Sender sender) {
    Halt();
    unsigned generation;
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        generation = shared_->generation;
    }
    thread_.Start([shared = shared_, generation, sender = std::move(sender)] { Run(shared, generation, sender); });
}

void EventQueue::Push(int event, std::wstring data) {
    if (!UsageEventName(event)) return;
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->queue.push_back(QueuedEvent{event, std::move(data)});
    }
    shared_->wake.notify_all();
}

bool EventQueue::Stop(std::chrono::milliseconds wait) {
    const bool ended = Halt(wait);
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->queue.clear();
    return ended;
}

size_t EventQueue::Pending() const {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->queue.size();
}

void EventQueue::Run(const std::shared_ptr<Shared>& shared, unsigned generation, const Sender& sender) {
    for (;;) {
        QueuedEvent event;
        {
            std::unique_lock<std::mutex> lock(shared->mutex);
            shared->wake.wait(lock, [&] { return !shared->queue.empty() || shared->generation != generation; });
            // Told to stop: what is still queued is dropped or left to the next sender.
            if (shared->generation != generation) return;
            event = std::move(shared->queue.front());
            shared->queue.pop_front();
        }
        try {
            sender(event);
        } catch (...) {
            // A send that fails in any way loses this event; the sender goes on with the next.
        }
    }
}
