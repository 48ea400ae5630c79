#pragma once

#include "audio/SoundInstance.h"

#include <cstdint>
#include <memory>

class DSoundManager;
class SoundBuffer;

// An instance over its own voice of a loaded sample; without a voice it is
// silent but keeps its flags, so it is reclaimed like any other.
class DSoundInstance : public SoundInstance
{
public:
    DSoundInstance(DSoundManager& manager, int soundId, std::unique_ptr<SoundBuffer> buffer);
    ~DSoundInstance() override;

    void Release() override;
    void SetBaseVolume(double volume) override;
    void SetBasePan(int pan) override;
    void AdjustPitch(double semitones) override;
    void SetVolume(double volume) override;
    void SetPan(int pan) override;
    bool Play(bool looping, bool autoRelease) override;
    void Stop() override;
    bool IsPlaying() override;
    bool IsReleased() override;
    double GetVolume() override;

    int GetSoundId() const { return m_soundId; }
    bool GetAutoRelease() const { return m_autoRelease; }
    void SetAutoRelease(bool autoRelease) { m_autoRelease = autoRelease; }
    void ApplyVolume();

private:
    void ApplyPan();

    DSoundManager& m_manager;
    std::unique_ptr<SoundBuffer> m_buffer;
    bool m_autoRelease{false};
    bool m_hasPlayed{false};
    bool m_released{false};
    int m_soundId{0};
    int m_basePan{0};
    double m_baseVolume{1.0};
    int m_pan{0};
    double m_volume{1.0};
    uint32_t m_baseFrequency{44100};
};
