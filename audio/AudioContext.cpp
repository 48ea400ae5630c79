#include "audio/AudioContext.h"

#include "audio/DecoderMusicEngine.h"
#include "audio/Mixer.h"
#include "audio/MixerSoundSystem.h"
#include "platform/SoundOutput.h"

AudioContext::AudioContext(std::unique_ptr<SoundOutput> output)
    : m_mixer(std::make_shared<Mixer>()), m_soundSystem(std::make_shared<MixerSoundSystem>(m_mixer)),
      m_musicEngine(std::make_shared<DecoderMusicEngine>(m_mixer)), m_output(std::move(output))
{
    if (m_output)
        m_output->Open(*m_mixer);
}

AudioContext::AudioContext(std::unique_ptr<SoundOutput> output, OpenInBackground)
    : m_mixer(std::make_shared<Mixer>()), m_soundSystem(std::make_shared<MixerSoundSystem>(m_mixer)),
      m_musicEngine(std::make_shared<DecoderMusicEngine>(m_mixer)), m_output(std::move(output))
{
    if (m_output)
        m_opening = std::thread([this] {
            m_output->Open(*m_mixer);
            m_output->ThreadEnding();
        });
}

AudioContext::~AudioContext()
{
    FinishOpening();
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
        context.reset(new AudioContext(CreateSdlSoundOutput(), OpenInBackground{}));
        shared = context;
    }
    return context;
}

void AudioContext::FinishOpening() const
{
    std::lock_guard lock(m_openingMutex);
    if (m_opening.joinable())
        m_opening.join();
}

bool AudioContext::IsOpen() const
{
    FinishOpening();
    return m_output && m_output->IsOpen();
}
