#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// The sound-effect layer the sound manager plays through: immutable PCM
// samples and voices over them, each with its own position, volume, pan and
// frequency. Volumes are hundredths of a decibel (-10000 silence .. 0), pans
// -10000 (left only) .. 10000 (right only), frequencies 100 .. 100000 Hz.

struct PcmSound
{
    int channels{1}; // 1 or 2
    int samplesPerSecond{22050};
    int bitsPerSample{16}; // 8 (unsigned) or 16 (signed little-endian)
    std::vector<uint8_t> data;

    int BlockAlign() const { return channels * bitsPerSample / 8; }
    size_t FrameCount() const { return BlockAlign() > 0 ? data.size() / BlockAlign() : 0; }
};

inline constexpr int kSilentVolume = -10000;
inline constexpr int kMinFrequency = 100;
inline constexpr int kMaxFrequency = 100000;

class SoundBuffer
{
public:
    virtual ~SoundBuffer() = default;

    virtual const PcmSound& GetSound() const = 0;
    virtual bool Play(bool looping) = 0;
    // Stops and rewinds to the start.
    virtual void Stop() = 0;
    virtual bool IsPlaying() const = 0;
    virtual uint32_t GetFrequency() const = 0;
    virtual void SetFrequency(uint32_t hertz) = 0;
    virtual void SetVolume(int hundredthsOfDecibel) = 0;
    virtual void SetPan(int pan) = 0;
};

class SoundSystem
{
public:
    virtual ~SoundSystem() = default;

    // The sample is shared: duplicates keep it alive after the buffer is gone.
    virtual std::shared_ptr<SoundBuffer> CreateSoundBuffer(std::shared_ptr<const PcmSound> sound) = 0;
    // A new voice over the same sample; null when no voice can be made.
    virtual std::unique_ptr<SoundBuffer> DuplicateSoundBuffer(const SoundBuffer& source) = 0;
    // The program's own master gain 0..1 (never the system's volume).
    virtual double GetMasterVolume() const = 0;
    virtual void SetMasterVolume(double volume) = 0;
};
