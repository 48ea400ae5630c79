#include "platform/Clock.h"
#include "platform/headless/ManualClock.h"

#include <gtest/gtest.h>

TEST(ClockTest, AManualClockMovesOnlyWhenSteppedOrSleptOn)
{
    ManualClock clock(1000);
    clock.Advance(16);
    EXPECT_EQ(clock.NowMs(), 1016u);
    // A frame governor that sleeps must see the time pass, or it would wait forever.
    clock.SleepMs(250);
    EXPECT_EQ(clock.NowMs(), 1266u);
    EXPECT_EQ(clock.SleptMs(), 250u);
}

TEST(ClockTest, InstalledClocksNestAndTheSystemClockComesBack)
{
    Clock& system = CurrentClock();
    ManualClock outer(5);
    {
        ScopedClock useOuter(outer);
        ManualClock inner(7);
        {
            ScopedClock useInner(inner);
            EXPECT_EQ(CurrentClock().NowMs(), 7u);
        }
        EXPECT_EQ(&CurrentClock(), &outer);
    }
    EXPECT_EQ(&CurrentClock(), &system);
}
