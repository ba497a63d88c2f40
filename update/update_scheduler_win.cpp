#include "update/update_scheduler.h"

#include "http/http_client.h"
#include "update/update_check.h"

namespace {

using Clock = std::chrono::steady_clock;

CheckSchedule::Ms Now() {
    return std::chrono::duration_cast<CheckSchedule::Ms>(Clock::now().time_since_epoch());
}

}  // namespace

void UpdateScheduler::Start(Check check, const CheckSchedule& schedule) {
    Stop(WorkerThread::kDefaultWait);
    auto state = std::make_shared<State>();
    state->schedule = schedule;
    state_ = state;
    thread_.Start([state, check = std::move(check)] { Run(state, check); });
}

void UpdateScheduler::Run(const std::shared_ptr<State>& state, const Check& check) {
    std::unique_lock<std::mutex> lock(state->mutex);
    while (!state->stopping) {
        const CheckSchedule::Ms now = Now();
        if (state->schedule.IsDue(now)) {
            state->schedule.Started(now);
            // A new session each time: a session once cancelled stays so.
            auto session = std::make_shared<HttpSession>(UpdateSessionOptions());
            state->session = session;
            lock.unlock();
            try {
                check(session);
            } catch (...) {
                // A failed check ends quietly; the next one comes on schedule.
            }
            lock.lock();
            state->session.reset();
            state->schedule.Ended();
            state->changed.notify_all();
            continue;
        }
        const std::optional<CheckSchedule::Ms> due = state->schedule.NextDue();
        if (due) {
            state->changed.wait_until(lock, Clock::time_point(std::chrono::duration_cast<Clock::duration>(*due)));
        } else {
            state->changed.wait(lock);
        }
    }
}

void UpdateScheduler::OnResume() {
    if (!state_) return;
    {
        // Held by the thread only to read or change the schedule, never during a check.
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->schedule.Resumed(Now());
    }
    state_->changed.notify_all();
}

bool UpdateScheduler::WaitIdle(std::chrono::milliseconds limit) {
    if (!state_) return true;
    std::unique_lock<std::mutex> lock(state_->mutex);
    return state_->changed.wait_for(lock, limit, [this] {
        return state_->stopping || (!state_->schedule.Running() && !state_->schedule.IsDue(Now()));
    });
}

void UpdateScheduler::RequestStop() {
    if (!state_) return;
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->stopping = true;
        if (state_->session) state_->session->Cancel();
    }
    state_->changed.notify_all();
}

void UpdateScheduler::Stop(std::chrono::milliseconds limit) {
    RequestStop();
    thread_.Join(limit);
    state_.reset();
}
