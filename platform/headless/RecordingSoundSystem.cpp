#include "platform/headless/RecordingSoundSystem.h"

#include <algorithm>

namespace {

class RecordingSoundBuffer : public SoundBuffer
{
public:
    RecordingSoundBuffer(std::shared_ptr<const PcmSound> sound,
                         std::shared_ptr<RecordingSoundSystem::BufferState> state)
        : m_sound(std::move(sound)), m_state(std::move(state))
    {
        m_state->frequency = static_cast<uint32_t>(m_sound->samplesPerSecond);
    }
    ~RecordingSoundBuffer() override { m_state->alive = false; }

    const PcmSound& GetSound() const override { return *m_sound; }
    const std::shared_ptr<const PcmSound>& GetShared() const { return m_sound; }

    bool Play(bool looping) override
    {
        m_state->calls.push_back(looping ? "Play looping" : "Play");
        m_state->playing = true;
        m_state->looping = looping;
        return true;
    }
    void Stop() override
    {
        m_state->calls.push_back("Stop");
        m_state->playing = false;
    }
    bool IsPlaying() const override { return m_state->playing; }
    uint32_t GetFrequency() const override { return m_state->frequency; }
    void SetFrequency(uint32_t hertz) override
    {
        m_state->calls.push_back("SetFrequency " + std::to_string(hertz));
        m_state->frequency = hertz;
    }
    void SetVolume(int volume) override
    {
        m_state->calls.push_back("SetVolume " + std::to_string(volume));
        m_state->volume = volume;
    }
    void SetPan(int pan) override
    {
        m_state->calls.push_back("SetPan " + std::to_string(pan));
        m_state->pan = pan;
    }

private:
    std::shared_ptr<const PcmSound> m_sound;
    std::shared_ptr<RecordingSoundSystem::BufferState> m_state;
};

} // namespace

std::shared_ptr<SoundBuffer> RecordingSoundSystem::CreateSoundBuffer(std::shared_ptr<const PcmSound> sound)
{
    if (!sound)
        return nullptr;
    m_buffers.push_back(std::make_shared<BufferState>());
    return std::make_shared<RecordingSoundBuffer>(std::move(sound), m_buffers.back());
}

std::unique_ptr<SoundBuffer> RecordingSoundSystem::DuplicateSoundBuffer(const SoundBuffer& source)
{
    auto* buffer = dynamic_cast<const RecordingSoundBuffer*>(&source);
    if (!buffer || m_duplicatesFail)
        return nullptr;
    m_buffers.push_back(std::make_shared<BufferState>());
    m_buffers.back()->duplicate = true;
    return std::make_unique<RecordingSoundBuffer>(buffer->GetShared(), m_buffers.back());
}

std::shared_ptr<RecordingSoundSystem::BufferState> RecordingSoundSystem::GetLastDuplicate() const
{
    auto it = std::find_if(m_buffers.rbegin(), m_buffers.rend(), [](const auto& b) { return b->duplicate; });
    return it == m_buffers.rend() ? nullptr : *it;
}

void RecordingSoundSystem::FinishAll()
{
    for (auto& buffer : m_buffers) {
        if (buffer->alive && !buffer->looping)
            buffer->playing = false;
    }
}
