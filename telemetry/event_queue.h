// The usage events waiting to be sent and the thread that sends them, one at a time, oldest
// first. Reporting only locks, appends and wakes the sender; stopping discards what is still
// queued and waits only for the event being sent. Pure code (standard threads).
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

struct QueuedEvent {
    int event;
    std::wstring data;
};

class EventQueue {
public:
    // Sends one event. Whatever it throws is caught: a failed send loses that event only.
    using Sender = std::function<void(const QueuedEvent&)>;

    EventQueue() = default;
    ~EventQueue() { Stop(); }
    EventQueue(const EventQueue&) = delete;
    EventQueue& operator=(const EventQueue&) = delete;

    // Stops a running sender (keeping the queue), then starts a new one. Throws std::system_error
    // when the thread cannot be started.
    void Start(Sender sender);
    // Queues an event; numbers that are not usage events are dropped.
    void Push(int event, std::wstring data);
    // Ends the sender and keeps the queue (for a restart).
    void Halt();
    // Ends the sender; the events still queued are dropped.
    void Stop();
    size_t Pending() const;

private:
    void Run();
    void RequestStop();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<QueuedEvent> queue_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    Sender sender_;
};
