#include "platform/Clock.h"

#include "platform/sdl/SdlClock.h"

#include <atomic>

namespace {

SdlClock g_systemClock;
std::atomic<Clock*> g_currentClock{nullptr};

} // namespace

Clock& CurrentClock()
{
    Clock* clock = g_currentClock.load();
    return clock ? *clock : g_systemClock;
}

void SetCurrentClock(Clock* clock)
{
    g_currentClock.store(clock == &g_systemClock ? nullptr : clock);
}
