#include "platform/sdl/SdlClock.h"

#include <SDL.h>

uint64_t SdlClock::NowMs() const
{
    return SDL_GetTicks64();
}

void SdlClock::SleepMs(uint32_t ms)
{
    SDL_Delay(ms);
}
