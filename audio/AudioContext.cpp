#include "audio/AudioContext.h"

#include "audio/DecoderMusicEngine.h"
#include "audio/Mixer.h"
#include "audio/MixerSoundSystem.h"
#include "platform/SoundOutput.h"

#include <mutex>

AudioContext::AudioContext(std::unique_ptr<SoundOutput> output)
    : m_mixer(std::make_shared<Mixer>()), m_soundSystem(std::make_shared<MixerSoundSystem>(m_mixer)),
      m_musicEngine(std::make_shared<DecoderMusicEngine>(m_mixer)), m_output(std::move(output))
{
    if (m_output)
        m_output->Open(*m_mixer);
}

AudioContext::~AudioContext()
{
    // The device thread must stop before anything it reads goes away.
    if (m_output)
        m_output->Close();
}

std::shared_ptr<AudioContext> AudioContext::Acquire()
{
    static std::mutex mutex;
    static std::weak_ptr<AudioContext> shared;
    std::lock_guard lock(mutex);
    std::shared_ptr<AudioContext> context = shared.lock();
    if (!context) {
        context = std::make_shared<AudioContext>(CreateSdlSoundOutput());
        shared = context;
    }
    return context;
}

bool AudioContext::IsOpen() const
{
    return m_output && m_output->IsOpen();
}
