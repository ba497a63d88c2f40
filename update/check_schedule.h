// When the update check runs in a program that stays open for days: once at start, again a day
// after the last check started, and after the computer wakes from sleep; never two at a time and
// never twice within an hour. Times are milliseconds on one monotonic clock, given by the caller.
// Pure code.
#pragma once

#include <chrono>
#include <optional>

class CheckSchedule {
public:
    using Ms = std::chrono::milliseconds;
    static constexpr Ms kDailyInterval{24 * 60 * 60 * 1000};
    static constexpr Ms kMinimumGap{60 * 60 * 1000};

    // The first check is due at once.
    explicit CheckSchedule(Ms interval = kDailyInterval, Ms minimumGap = kMinimumGap)
        : interval_(interval), minimumGap_(minimumGap) {}

    // When the next check may start; none while a check runs (the next is decided when it ends).
    // A wake less than the minimum gap after the last start is deferred until the gap is up, not
    // dropped: the check before the sleep may have failed for want of a network.
    std::optional<Ms> NextDue() const;
    bool IsDue(Ms now) const {
        const std::optional<Ms> due = NextDue();
        return due && *due <= now;
    }

    // The computer woke at now: a check is wanted.
    void Resumed(Ms now);
    void Started(Ms now);
    void Ended();
    bool Running() const { return running_; }

private:
    Ms interval_;
    Ms minimumGap_;
    std::optional<Ms> lastStart_;
    std::optional<Ms> resumedAt_;
    bool running_ = false;
};
