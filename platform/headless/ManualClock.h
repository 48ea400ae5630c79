#pragma once

#include "platform/Clock.h"

#include <atomic>

// A clock that moves only when told: tests step it. Sleeping advances it by the time slept.
class ManualClock : public Clock
{
public:
    explicit ManualClock(uint64_t startMs = 0) : m_nowMs(startMs) {}

    uint64_t NowMs() const override { return m_nowMs.load(); }
    void SleepMs(uint32_t ms) override;

    void Advance(uint64_t ms) { m_nowMs += ms; }
    // Total time spent in SleepMs.
    uint64_t SleptMs() const { return m_sleptMs.load(); }

private:
    std::atomic<uint64_t> m_nowMs{0};
    std::atomic<uint64_t> m_sleptMs{0};
};

// Installs a clock for the lifetime of this object, then restores the one before it.
class ScopedClock
{
public:
    explicit ScopedClock(Clock& clock);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    Clock* m_previous = nullptr;
};
