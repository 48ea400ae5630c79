#include "audio/SoundPlayer.h"

#include "audio/SoundInstance.h"
#include "audio/SoundManager.h"

#include <algorithm>
#include <cmath>

SoundPlayer::SoundPlayer(SoundManager& manager) : m_manager(manager) {}

// Instances still looping belong to the sound manager, which deletes its
// channels itself.
SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::Play(int id, int minInterval, double volume)
{
    auto last = m_lastStartTick.find(id);
    if (last != m_lastStartTick.end() && static_cast<int64_t>(m_tick) - last->second <= minInterval)
        return;
    if (SoundInstance* instance = m_manager.GetSoundInstance(id)) {
        instance->SetVolume(instance->GetVolume() * volume);
        instance->Play(false, true);
    }
    m_lastStartTick[id] = m_tick;
}

void SoundPlayer::StartLoop(int id, float rate)
{
    if (auto it = m_loops.find(id); it != m_loops.end()) {
        Loop& loop = it->second;
        // Started again while fading out: fade back in instead of ending.
        if (loop.count <= 0 && loop.rate < 0.0f)
            loop.rate = -loop.rate;
        loop.count = std::max(loop.count, 0) + 1;
        return;
    }
    SoundInstance* instance = m_manager.GetSoundInstance(id);
    if (!instance)
        return;
    instance->Play(true, false);
    Loop loop{instance, rate, 1.0f, 1};
    if (rate != 0.0f) {
        instance->SetVolume(0.0);
        loop.volume = 0.0f;
    }
    m_loops[id] = loop;
}

void SoundPlayer::StopLoop(int id, float rate)
{
    auto it = m_loops.find(id);
    if (it == m_loops.end())
        return;
    Loop& loop = it->second;
    loop.count = std::max(loop.count - 1, 0);
    if (loop.count > 0)
        return;
    if (rate != 0.0f) {
        loop.rate = -std::fabs(rate);
        return;
    }
    loop.instance->Release();
    m_loops.erase(it);
}

void SoundPlayer::ReleaseAllLoops()
{
    for (auto& [id, loop] : m_loops)
        loop.instance->Release();
    m_loops.clear();
}

void SoundPlayer::SilenceLoops(bool silent, const std::map<int, int>& ids)
{
    for (const auto& [id, count] : ids) {
        auto it = m_loops.find(id);
        if (it != m_loops.end())
            it->second.instance->SetVolume(silent ? 0.0 : it->second.volume);
    }
}

void SoundPlayer::AddIdleTicks(int64_t ticks)
{
    m_tick = static_cast<int32_t>(m_tick + ticks);
}

bool SoundPlayer::IsFading() const
{
    for (const auto& [id, loop] : m_loops) {
        if (loop.rate != 0.0f)
            return true;
    }
    return false;
}

void SoundPlayer::Update()
{
    ++m_tick;
    for (auto it = m_loops.begin(); it != m_loops.end(); ++it) {
        Loop& loop = it->second;
        if (loop.rate == 0.0f)
            continue;
        loop.volume += loop.rate;
        if (loop.volume >= 1.0f) {
            loop.volume = 1.0f;
            loop.rate = 0.0f;
        }
        if (loop.volume <= 0.0f) {
            loop.instance->Release();
            m_loops.erase(it);
            return;
        }
        // The sound manager applies the effects volume itself.
        loop.instance->SetVolume(loop.volume);
    }
}
