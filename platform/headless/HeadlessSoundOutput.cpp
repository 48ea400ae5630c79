#include "platform/headless/HeadlessSoundOutput.h"

bool HeadlessSoundOutput::Open(AudioSource& source)
{
    if (!m_canOpen)
        return false;
    m_source = &source;
    return true;
}

void HeadlessSoundOutput::Close()
{
    m_source = nullptr;
}

const std::vector<int16_t>& HeadlessSoundOutput::Pump(size_t frames)
{
    m_frames.clear();
    if (!m_source)
        return m_frames;
    m_frames.resize(frames * 2);
    m_source->Render(m_frames.data(), frames);
    m_framesRendered += frames;
    return m_frames;
}

std::unique_ptr<SoundOutput> CreateHeadlessSoundOutput()
{
    return std::make_unique<HeadlessSoundOutput>();
}
