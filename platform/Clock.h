#pragma once

#include <cstdint>

// A monotonic millisecond clock. The program reads time only through the current clock, so tests install a
// manual clock (platform/headless/ManualClock.h) and step it instead of sleeping.
class Clock
{
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; never goes back.
    virtual uint64_t NowMs() const = 0;
    // Waits about ms milliseconds (a manual clock just advances).
    virtual void SleepMs(uint32_t ms) = 0;
};

// The clock in use: the system clock unless a test installed another.
Clock& CurrentClock();
// Installs a clock (not owned; it must outlive its use); null restores the system clock.
void SetCurrentClock(Clock* clock);
