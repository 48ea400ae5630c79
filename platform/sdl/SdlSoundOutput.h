#pragma once

#include "platform/SoundOutput.h"

#include <cstdint>

// The SDL audio device: 44100 Hz, signed 16-bit, stereo, pulled by SDL's
// audio thread.
class SdlSoundOutput : public SoundOutput
{
public:
    SdlSoundOutput() = default;
    ~SdlSoundOutput() override;

    bool Open(AudioSource& source) override;
    void Close() override;
    bool IsOpen() const override { return m_device != 0; }
    void ThreadEnding() override;

private:
    static void Callback(void* userData, uint8_t* stream, int length);

    AudioSource* m_source{nullptr};
    uint32_t m_device{0};
    bool m_ownsSubsystem{false};
};
