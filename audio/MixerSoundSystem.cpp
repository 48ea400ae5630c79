#include "audio/MixerSoundSystem.h"

#include "audio/Mixer.h"

namespace {

class MixerSoundBuffer : public SoundBuffer
{
public:
    MixerSoundBuffer(std::shared_ptr<Mixer> mixer, std::shared_ptr<const PcmSound> sound)
        : m_mixer(std::move(mixer)), m_sound(std::move(sound)), m_voice(m_mixer->CreateVoice(m_sound))
    {
    }
    ~MixerSoundBuffer() override { m_mixer->DestroyVoice(m_voice); }

    const PcmSound& GetSound() const override { return *m_sound; }
    const std::shared_ptr<const PcmSound>& GetShared() const { return m_sound; }
    bool Play(bool looping) override { return m_mixer->PlayVoice(m_voice, looping); }
    void Stop() override { m_mixer->StopVoice(m_voice); }
    bool IsPlaying() const override { return m_mixer->IsVoicePlaying(m_voice); }
    uint32_t GetFrequency() const override { return m_mixer->GetVoiceFrequency(m_voice); }
    void SetFrequency(uint32_t hertz) override { m_mixer->SetVoiceFrequency(m_voice, hertz); }
    void SetVolume(int hundredthsOfDecibel) override
    {
        m_mixer->SetVoiceVolume(m_voice, hundredthsOfDecibel);
    }
    void SetPan(int pan) override { m_mixer->SetVoicePan(m_voice, pan); }

private:
    std::shared_ptr<Mixer> m_mixer;
    std::shared_ptr<const PcmSound> m_sound;
    Mixer::VoiceId m_voice;
};

} // namespace

MixerSoundSystem::MixerSoundSystem(std::shared_ptr<Mixer> mixer) : m_mixer(std::move(mixer)) {}

std::shared_ptr<SoundBuffer> MixerSoundSystem::CreateSoundBuffer(std::shared_ptr<const PcmSound> sound)
{
    if (!sound)
        return nullptr;
    return std::make_shared<MixerSoundBuffer>(m_mixer, std::move(sound));
}

std::unique_ptr<SoundBuffer> MixerSoundSystem::DuplicateSoundBuffer(const SoundBuffer& source)
{
    auto* buffer = dynamic_cast<const MixerSoundBuffer*>(&source);
    if (!buffer)
        return nullptr;
    return std::make_unique<MixerSoundBuffer>(m_mixer, buffer->GetShared());
}

double MixerSoundSystem::GetMasterVolume() const
{
    return m_mixer->GetMasterGain();
}

void MixerSoundSystem::SetMasterVolume(double volume)
{
    m_mixer->SetMasterGain(volume);
}
