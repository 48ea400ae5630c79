#pragma once

#include "platform/SoundOutput.h"

#include <cstdint>
#include <vector>

// An output without a device: it opens (unless told to fail) and renders
// only when Pump is called, keeping the frames it rendered.
class HeadlessSoundOutput : public SoundOutput
{
public:
    explicit HeadlessSoundOutput(bool canOpen = true) : m_canOpen(canOpen) {}

    bool Open(AudioSource& source) override;
    void Close() override;
    bool IsOpen() const override { return m_source != nullptr; }

    // Renders frames now; returns them (interleaved stereo), empty when closed.
    const std::vector<int16_t>& Pump(size_t frames);
    size_t GetFramesRendered() const { return m_framesRendered; }

private:
    bool m_canOpen{true};
    AudioSource* m_source{nullptr};
    std::vector<int16_t> m_frames;
    size_t m_framesRendered{0};
};
