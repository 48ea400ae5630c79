#include "audio/DSoundInstance.h"

#include "audio/DSoundManager.h"
#include "platform/SoundSystem.h"

#include <algorithm>

DSoundInstance::DSoundInstance(DSoundManager& manager, int soundId, std::unique_ptr<SoundBuffer> buffer)
    : m_manager(manager), m_buffer(std::move(buffer)), m_soundId(soundId)
{
    if (m_buffer)
        m_baseFrequency = m_buffer->GetFrequency();
    ApplyVolume();
}

DSoundInstance::~DSoundInstance() = default;

void DSoundInstance::Release()
{
    Stop();
    m_released = true;
}

void DSoundInstance::SetBaseVolume(double volume)
{
    m_baseVolume = volume;
    ApplyVolume();
}

void DSoundInstance::SetBasePan(int pan)
{
    m_basePan = pan;
    ApplyPan();
}

void DSoundInstance::AdjustPitch(double semitones)
{
    if (m_buffer)
        m_buffer->SetFrequency(DSoundManager::PitchToFrequency(m_baseFrequency, semitones));
}

void DSoundInstance::SetVolume(double volume)
{
    m_volume = volume;
    ApplyVolume();
}

void DSoundInstance::SetPan(int pan)
{
    m_pan = pan;
    ApplyPan();
}

bool DSoundInstance::Play(bool looping, bool autoRelease)
{
    Stop();
    m_hasPlayed = true;
    m_autoRelease = autoRelease;
    if (!m_buffer)
        return false;
    return m_buffer->Play(looping);
}

void DSoundInstance::Stop()
{
    if (m_buffer)
        m_buffer->Stop();
    m_autoRelease = false;
}

bool DSoundInstance::IsPlaying()
{
    if (!m_hasPlayed || !m_buffer)
        return false;
    return m_buffer->IsPlaying();
}

bool DSoundInstance::IsReleased()
{
    if (!m_released && m_autoRelease && m_hasPlayed && !IsPlaying())
        Release();
    return m_released;
}

double DSoundInstance::GetVolume()
{
    return m_volume;
}

void DSoundInstance::ApplyVolume()
{
    if (m_buffer)
        m_buffer->SetVolume(DSoundManager::VolumeToDecibels(m_volume * m_baseVolume * m_manager.GetVolume()));
}

void DSoundInstance::ApplyPan()
{
    if (m_buffer) {
        // Summed in 64 bits: both parts come from callers unchecked.
        int64_t pan = static_cast<int64_t>(m_pan) + m_basePan;
        m_buffer->SetPan(static_cast<int>(std::clamp<int64_t>(pan, -10000, 10000)));
    }
}
