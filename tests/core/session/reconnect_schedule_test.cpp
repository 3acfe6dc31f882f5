#include "session/reconnect_schedule.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace olmira {
namespace {

// The tries after a drop at tick t0 when each fails at once: 1, 2, 4, 8,
// 16 s apart, then every 30 s, the last within 5 minutes; the clock may
// wrap meanwhile.
TEST(ReconnectScheduleTest, TriesComeLaterAndLaterUntilFiveMinutesHavePassed) {
    for (const std::uint32_t t0 : {0U, 0xFFFFF000U}) {
        ReconnectSchedule schedule;
        schedule.Start(t0);
        EXPECT_EQ(schedule.SecondsLeft(t0), 1U);
        std::vector<std::uint32_t> tries;
        for (std::uint32_t ms = 0; ms <= 400000 && schedule.Active(); ms += 250) {
            if (schedule.Due(t0 + ms) && schedule.Attempt(t0 + ms)) {
                tries.push_back(ms / 1000);
                schedule.Failed(t0 + ms);
            }
        }
        EXPECT_THAT(tries,
                    ::testing::ElementsAre(1, 3, 7, 15, 31, 61, 91, 121, 151, 181, 211, 241, 271))
            << t0;
        EXPECT_FALSE(schedule.Active());
    }
}

// While a try is under way none is due, and the countdown rounds up.
TEST(ReconnectScheduleTest, ATryUnderWayWaitsForItsOutcome) {
    ReconnectSchedule schedule;
    schedule.Start(1000);
    EXPECT_FALSE(schedule.Due(1999));
    EXPECT_EQ(schedule.SecondsLeft(1001), 1U);
    ASSERT_TRUE(schedule.Due(2000));
    ASSERT_TRUE(schedule.Attempt(2000));
    EXPECT_FALSE(schedule.Due(9000));
    EXPECT_EQ(schedule.SecondsLeft(9000), 0U);
    schedule.Failed(9000);
    EXPECT_EQ(schedule.SecondsLeft(9000), 2U);
    EXPECT_EQ(schedule.SecondsLeft(9001), 2U);
    schedule.Stop();
    EXPECT_FALSE(schedule.Active());
    EXPECT_FALSE(schedule.Due(20000));
}

}  // namespace
}  // namespace olmira
