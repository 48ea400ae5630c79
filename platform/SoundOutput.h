#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// Something that fills interleaved stereo 16-bit frames at 44100 Hz. The
// output calls it from its own thread.
class AudioSource
{
public:
    virtual ~AudioSource() = default;
    virtual void Render(int16_t* out, size_t frames) = 0;
};

// An audio device that pulls frames from a source.
class SoundOutput
{
public:
    static constexpr int kSampleRate = 44100;

    virtual ~SoundOutput() = default;

    // False when no device can be opened; the caller then stays silent.
    virtual bool Open(AudioSource& source) = 0;
    // After Close returns the source is never called again.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Called last on a thread of the caller's own that opened the output:
    // frees what the system keeps for that thread.
    virtual void ThreadEnding() {}
};

// The real device (SDL audio, 44100 Hz, signed 16-bit stereo).
std::unique_ptr<SoundOutput> CreateSdlSoundOutput();
// A device that never plays by itself: Pump renders on the caller's thread.
std::unique_ptr<SoundOutput> CreateHeadlessSoundOutput();
