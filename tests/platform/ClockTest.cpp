#include "platform/Clock.h"
#include "platform/headless/ManualClock.h"

#include <gtest/gtest.h>

#include <thread>

TEST(ClockTest, AManualClockMovesOnlyWhenSteppedOrSleptOn)
{
    ManualClock clock(1000);
    EXPECT_EQ(clock.NowMs(), 1000u);
    clock.Advance(16);
    EXPECT_EQ(clock.NowMs(), 1016u);
    clock.SleepMs(250);
    EXPECT_EQ(clock.NowMs(), 1266u);
    EXPECT_EQ(clock.SleptMs(), 250u);
}

TEST(ClockTest, TheInstalledClockIsTheCurrentOneUntilRestored)
{
    Clock& system = CurrentClock();
    ManualClock outer(5);
    {
        ScopedClock useOuter(outer);
        EXPECT_EQ(&CurrentClock(), &outer);
        ManualClock inner(7);
        {
            ScopedClock useInner(inner);
            EXPECT_EQ(CurrentClock().NowMs(), 7u);
        }
        EXPECT_EQ(&CurrentClock(), &outer);
    }
    EXPECT_EQ(&CurrentClock(), &system);

    SetCurrentClock(&outer);
    SetCurrentClock(nullptr);
    EXPECT_EQ(&CurrentClock(), &system);
}

TEST(ClockTest, OtherThreadsSeeTheSteppedTime)
{
    ManualClock clock;
    ScopedClock use(clock);
    uint64_t seen = 0;
    clock.Advance(40);
    std::thread reader([&seen] { seen = CurrentClock().NowMs(); });
    reader.join();
    EXPECT_EQ(seen, 40u);
}

TEST(ClockTest, TheSystemClockNeverGoesBack)
{
    Clock& clock = CurrentClock();
    uint64_t previous = clock.NowMs();
    for (int i = 0; i < 1000; ++i) {
        uint64_t now = clock.NowMs();
        ASSERT_GE(now, previous);
        previous = now;
    }
}
