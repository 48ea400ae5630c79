#pragma once

#include <memory>
#include <mutex>
#include <thread>

class Mixer;
class MusicEngine;
class SoundOutput;
class SoundSystem;

// The process's mixer, the device that plays it, and the sound and music
// layers over it. One for the process, shared by the sound manager and every
// music player: the device is asked for once, and when it does not open the
// owners keep the same silent context. The device closes when the last
// owner lets go.
class AudioContext
{
public:
    // Opens the output at once; when it cannot open, IsOpen is false and the
    // owners stay silent.
    explicit AudioContext(std::unique_ptr<SoundOutput> output);
    ~AudioContext();
    AudioContext(const AudioContext&) = delete;
    AudioContext& operator=(const AudioContext&) = delete;

    // The shared context over the real device. Asking the system for a device
    // can take a quarter of a second (driver probes without a sound server),
    // so a new context opens it on a thread of its own: start-up goes on
    // meanwhile, and only IsOpen waits for the answer.
    static std::shared_ptr<AudioContext> Acquire();

    // Waits until the device's opening is over.
    bool IsOpen() const;
    std::shared_ptr<Mixer> GetMixer() const { return m_mixer; }
    std::shared_ptr<SoundSystem> GetSoundSystem() const { return m_soundSystem; }
    std::shared_ptr<MusicEngine> GetMusicEngine() const { return m_musicEngine; }
    SoundOutput& GetOutput() { return *m_output; }

private:
    struct OpenInBackground
    {
    };
    AudioContext(std::unique_ptr<SoundOutput> output, OpenInBackground);
    void FinishOpening() const;

    std::shared_ptr<Mixer> m_mixer;
    std::shared_ptr<SoundSystem> m_soundSystem;
    std::shared_ptr<MusicEngine> m_musicEngine;
    std::unique_ptr<SoundOutput> m_output;
    mutable std::mutex m_openingMutex;
    mutable std::thread m_opening;
};
