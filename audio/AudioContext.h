#pragma once

#include <memory>

class Mixer;
class MusicEngine;
class SoundOutput;
class SoundSystem;

// The process's mixer, the device that plays it, and the sound and music
// layers over it. Shared by the sound manager and every music player; the
// device closes when the last of them lets go.
class AudioContext
{
public:
    // Opens the output; when it cannot open, IsOpen is false and the owners
    // stay silent.
    explicit AudioContext(std::unique_ptr<SoundOutput> output);
    ~AudioContext();

    // The shared context over the real device.
    static std::shared_ptr<AudioContext> Acquire();

    bool IsOpen() const;
    std::shared_ptr<Mixer> GetMixer() const { return m_mixer; }
    std::shared_ptr<SoundSystem> GetSoundSystem() const { return m_soundSystem; }
    std::shared_ptr<MusicEngine> GetMusicEngine() const { return m_musicEngine; }
    SoundOutput& GetOutput() { return *m_output; }

private:
    std::shared_ptr<Mixer> m_mixer;
    std::shared_ptr<SoundSystem> m_soundSystem;
    std::shared_ptr<MusicEngine> m_musicEngine;
    std::unique_ptr<SoundOutput> m_output;
};
