// A thread doing network work that its owner waits for only so long: at exit a request held up by
// a slow server must not hold up the program. A thread not done in time is let go and ends on its
// own, so its body must own (by value or shared_ptr) everything it uses. Pure code (standard
// threads).
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class WorkerThread {
public:
    WorkerThread() = default;
    // Waits for a running body only up to kDefaultWait.
    ~WorkerThread() { Join(kDefaultWait); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    static constexpr std::chrono::milliseconds kDefaultWait{1500};

    // Runs body on a new thread after ending any previous one (waiting up to kDefaultWait).
    // Whatever body throws is swallowed. Throws std::system_error when no thread can be started.
    void Start(std::function<void()> body);
    // Waits up to limit for the body to end. True when it ended (or none ran); false when it was
    // still running and has been let go.
    bool Join(std::chrono::milliseconds limit);
    // True while a started body has not ended.
    bool Running() const;

private:
    struct Done {
        std::mutex mutex;
        std::condition_variable changed;
        bool done = false;
    };
    std::shared_ptr<Done> done_;
    std::thread thread_;
};
