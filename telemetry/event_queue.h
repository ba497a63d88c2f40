// The usage events waiting to be sent and the thread that sends them, one at a time, oldest
// first. Reporting only locks, appends and wakes the sender; stopping discards what is still
// queued and waits only for the event being sent, and for it only a bounded time. Pure code
// (standard threads).
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "http/worker_thread.h"

struct QueuedEvent {
    int event;
    std::wstring data;
};

class EventQueue {
public:
    // Sends one event. Whatever it throws is caught: a failed send loses that event only. A
    // sender still busy when a stop stops waiting for it goes on alone, so it must own what it
    // uses.
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
    // Ends the sender and keeps the queue (for a restart). Waits up to wait for the event being
    // sent; false when the sender was still busy and has been let go (it sends nothing more).
    bool Halt(std::chrono::milliseconds wait = WorkerThread::kDefaultWait);
    // Halt, then the events still queued are dropped.
    bool Stop(std::chrono::milliseconds wait = WorkerThread::kDefaultWait);
    size_t Pending() const;

private:
    // What the sender thread shares with the queue; the thread keeps it alive when let go.
    struct Shared {
        mutable std::mutex mutex;
        std::condition_variable wake;
        std::deque<QueuedEvent> queue;
        unsigned generation = 0;  // a sender runs while this is the number it started with
    };
    static void Run(const std::shared_ptr<Shared>& shared, unsigned generation, const Sender& sender);

    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    WorkerThread thread_;
};
