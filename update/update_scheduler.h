// The update check for a program that stays open: a thread that runs it at start, daily, and
// after the computer wakes (CheckSchedule), one at a time, each on a new session, and that ends
// promptly when stopped. Everything the thread uses is shared with it: a thread still inside a
// check at exit is let go and ends on its own.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "http/worker_thread.h"
#include "update/check_schedule.h"

class HttpSession;

class UpdateScheduler {
public:
    // The check itself, given the session to download with (cancelled at Stop).
    using Check = std::function<void(const std::shared_ptr<HttpSession>&)>;

    UpdateScheduler() = default;
    ~UpdateScheduler() { Stop(WorkerThread::kDefaultWait); }
    UpdateScheduler(const UpdateScheduler&) = delete;
    UpdateScheduler& operator=(const UpdateScheduler&) = delete;

    // Starts the thread with its first check due at once (after ending an earlier thread).
    void Start(Check check, const CheckSchedule& schedule = CheckSchedule());
    // The computer woke: a check is wanted (see CheckSchedule for when it runs). Never waits for a
    // check; safe from a window's thread.
    void OnResume();
    // Waits up to limit until no check runs and none is due now. True when that came.
    bool WaitIdle(std::chrono::milliseconds limit);
    // Cancels a running check's session and wakes the thread to end; does not wait.
    void RequestStop();
    // RequestStop, then waits for the thread up to limit.
    void Stop(std::chrono::milliseconds limit);

private:
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        CheckSchedule schedule;
        bool stopping = false;
        std::shared_ptr<HttpSession> session;  // of the check in progress
    };
    static void Run(const std::shared_ptr<State>& state, const Check& check);

    std::shared_ptr<State> state_;
    WorkerThread thread_;
};
