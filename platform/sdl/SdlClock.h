#pragma once

#include "platform/Clock.h"

// The real time, from SDL's millisecond counter.
class SdlClock : public Clock
{
public:
    uint64_t NowMs() const override;
    void SleepMs(uint32_t ms) override;
};
