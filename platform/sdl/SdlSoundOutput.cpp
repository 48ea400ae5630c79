#include "platform/sdl/SdlSoundOutput.h"

#include "platform/sdl/SessionBus.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

SdlSoundOutput::~SdlSoundOutput()
{
    Close();
}

bool SdlSoundOutput::Open(AudioSource& source)
{
    Close();
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0) {
        SessionBus::KeepOffAnAbsentBus();
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            std::fprintf(stderr, "Sound is off: %s\n", SDL_GetError());
            return false;
        }
        m_ownsSubsystem = true;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = kSampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = [](void* userData, Uint8* stream, int length) { Callback(userData, stream, length); };
    wanted.userdata = this;
    m_source = &source;
    SDL_AudioSpec obtained{};
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (m_device == 0) {
        std::fprintf(stderr, "Sound is off: %s\n", SDL_GetError());
        m_source = nullptr;
        if (m_ownsSubsystem) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            m_ownsSubsystem = false;
        }
        return false;
    }
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

void SdlSoundOutput::Close()
{
    if (m_device != 0) {
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
    }
    m_source = nullptr;
    if (m_ownsSubsystem) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_ownsSubsystem = false;
    }
}

void SdlSoundOutput::ThreadEnding()
{
    // SDL keeps an error text per thread; only its own threads free it.
    SDL_TLSCleanup();
}

void SdlSoundOutput::Callback(void* userData, uint8_t* stream, int length)
{
    auto* self = static_cast<SdlSoundOutput*>(userData);
    if (!self->m_source) {
        std::memset(stream, 0, static_cast<size_t>(length));
        return;
    }
    self->m_source->Render(reinterpret_cast<int16_t*>(stream), static_cast<size_t>(length) / 4);
}

std::unique_ptr<SoundOutput> CreateSdlSoundOutput()
{
    return std::make_unique<SdlSoundOutput>();
}
