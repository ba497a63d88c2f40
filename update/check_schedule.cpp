#include "update/check_schedule.h"

#include <algorithm>

constexpr CheckSchedule::Ms CheckSchedule::kDailyInterval;
constexpr CheckSchedule::Ms CheckSchedule::kMinimumGap;

std::optional<CheckSchedule::Ms> CheckSchedule::NextDue() const {
    if (running_) return std::nullopt;
    if (!lastStart_) return Ms(0);  // the check at start
    Ms due = *lastStart_ + interval_;
    if (resumedAt_) due = std::min(due, std::max(*resumedAt_, *lastStart_ + minimumGap_));
    return due;
}

void CheckSchedule::Resumed(Ms now) {
    // A second wake before the check keeps the earlier time.
    if (!resumedAt_) resumedAt_ = now;
}

void CheckSchedule::Started(Ms now) {
    lastStart_ = now;
    resumedAt_.reset();
    running_ = true;
}

void CheckSchedule::Ended() { running_ = false; }
