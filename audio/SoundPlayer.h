#pragma once

#include <cstdint>
#include <map>

class SoundInstance;
class SoundManager;

// Sound effects with a minimum replay interval, and reference-counted
// looping sounds with fades. Driven by Update, once per tick.
class SoundPlayer
{
public:
    explicit SoundPlayer(SoundManager& manager);
    virtual ~SoundPlayer();

    void Play(int id, int minInterval, double volume);
    void StartLoop(int id, float rate);
    void StopLoop(int id, float rate);
    void ReleaseAllLoops();
    void SilenceLoops(bool silent, const std::map<int, int>& ids);
    void Update();
    // Ticks that passed without updates (an idle loop): replay intervals
    // count them.
    void AddIdleTicks(int64_t ticks);
    // True while a loop's volume is still fading: Update has work to do.
    bool IsFading() const;

    bool HasLoop(int id) const { return m_loops.count(id) != 0; }

private:
    struct Loop
    {
        SoundInstance* instance{nullptr};
        float rate{0.0f};
        float volume{0.0f};
        int count{0};
    };

    SoundManager& m_manager;
    std::map<int, int32_t> m_lastStartTick;
    std::map<int, Loop> m_loops;
    int32_t m_tick{0};
};
