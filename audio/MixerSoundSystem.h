#pragma once

#include "platform/SoundSystem.h"

#include <memory>

class Mixer;

// The sound layer over the software mixer: every buffer is a mixer voice
// over a shared sample.
class MixerSoundSystem : public SoundSystem
{
public:
    explicit MixerSoundSystem(std::shared_ptr<Mixer> mixer);

    std::shared_ptr<SoundBuffer> CreateSoundBuffer(std::shared_ptr<const PcmSound> sound) override;
    std::unique_ptr<SoundBuffer> DuplicateSoundBuffer(const SoundBuffer& source) override;
    double GetMasterVolume() const override;
    void SetMasterVolume(double volume) override;

private:
    std::shared_ptr<Mixer> m_mixer;
};
