#include "platform/Clock.h"
#include "platform/headless/ManualClock.h"

#include <gtest/gtest.h>

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
