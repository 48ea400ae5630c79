#include "platform/headless/ManualClock.h"

void ManualClock::SleepMs(uint32_t ms)
{
    m_nowMs += ms;
    m_sleptMs += ms;
}

ScopedClock::ScopedClock(Clock& clock) : m_previous(&CurrentClock())
{
    SetCurrentClock(&clock);
}

ScopedClock::~ScopedClock()
{
    SetCurrentClock(m_previous);
}
