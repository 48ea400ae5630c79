#pragma once

#include "platform/SoundSystem.h"

#include <memory>
#include <string>
#include <vector>

// A sound layer that plays nothing and remembers what it was told, buffer by
// buffer. A buffer plays from Play until Stop or Finish.
class RecordingSoundSystem : public SoundSystem
{
public:
    struct BufferState
    {
        bool duplicate{false};
        bool alive{true};
        bool playing{false};
        bool looping{false};
        int volume{0};
        int pan{0};
        uint32_t frequency{0};
        std::vector<std::string> calls;
    };

    std::shared_ptr<SoundBuffer> CreateSoundBuffer(std::shared_ptr<const PcmSound> sound) override;
    std::unique_ptr<SoundBuffer> DuplicateSoundBuffer(const SoundBuffer& source) override;
    double GetMasterVolume() const override { return m_masterVolume; }
    void SetMasterVolume(double volume) override { m_masterVolume = volume; }

    // Every buffer made, in order, alive or not.
    const std::vector<std::shared_ptr<BufferState>>& GetBuffers() const { return m_buffers; }
    // The last duplicate made; null before the first.
    std::shared_ptr<BufferState> GetLastDuplicate() const;
    // Plays every playing buffer to its end.
    void FinishAll();
    void SetDuplicatesFail(bool fail) { m_duplicatesFail = fail; }

private:
    std::vector<std::shared_ptr<BufferState>> m_buffers;
    double m_masterVolume{1.0};
    bool m_duplicatesFail{false};
};
