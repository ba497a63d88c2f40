#include <gtest/gtest.h>

#include "update/check_schedule.h"

using namespace std::chrono_literals;
using Ms = CheckSchedule::Ms;

namespace {
constexpr Ms kStart = 5000ms;  // the clock does not start at zero
}

TEST(CheckSchedule, ChecksAtStartThenDailyFromEachStart) {
    CheckSchedule schedule;
    EXPECT_TRUE(schedule.IsDue(kStart));
    schedule.Started(kStart);
    schedule.Ended();
    EXPECT_EQ(schedule.NextDue(), kStart + 24h);
    EXPECT_FALSE(schedule.IsDue(kStart + 24h - 1ms));
    EXPECT_TRUE(schedule.IsDue(kStart + 24h));
    // A late start (the thread was busy, the machine slept) counts from when it really began.
    schedule.Started(kStart + 30h);
    schedule.Ended();
    EXPECT_EQ(schedule.NextDue(), kStart + 54h);
}

TEST(CheckSchedule, AWakeChecksAtOnceOrWhenTheHourIsUp) {
    CheckSchedule schedule;
    schedule.Started(kStart);
    schedule.Ended();
    schedule.Resumed(kStart + 3h);
    EXPECT_EQ(schedule.NextDue(), kStart + 3h);
    schedule.Started(kStart + 3h);
    schedule.Ended();
    EXPECT_EQ(schedule.NextDue(), kStart + 27h);  // the wake is used up
    // Ten minutes after a check: deferred, not dropped.
    schedule.Resumed(kStart + 3h + 10min);
    EXPECT_FALSE(schedule.IsDue(kStart + 3h + 59min));
    EXPECT_EQ(schedule.NextDue(), kStart + 4h);
    // A second wake keeps the first one's time.
    schedule.Resumed(kStart + 3h + 50min);
    EXPECT_EQ(schedule.NextDue(), kStart + 4h);
}

TEST(CheckSchedule, NothingIsDueWhileACheckRuns) {
    CheckSchedule schedule(24h, 1h);
    schedule.Started(kStart);
    schedule.Resumed(kStart + 2h);
    EXPECT_FALSE(schedule.NextDue());
    EXPECT_FALSE(schedule.IsDue(kStart + 48h));
    // The wake that came during the check is kept for after it.
    schedule.Ended();
    EXPECT_EQ(schedule.NextDue(), kStart + 2h);
}
