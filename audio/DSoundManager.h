#pragma once

#include "audio/SoundManager.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class AudioContext;
class DSoundInstance;
class SoundBuffer;
class SoundSystem;
struct PcmSound;

// The sound manager over the process's mixer. Silent (everything accepted,
// nothing heard) without a window, or when no audio device can be opened.
class DSoundManager : public SoundManager
{
public:
    // window: any non-null value switches sound on.
    explicit DSoundManager(void* window);
    // A manager over a given sound system (null: silent). The channel sweep
    // reads the current platform clock.
    explicit DSoundManager(std::shared_ptr<SoundSystem> system);
    ~DSoundManager() override;

    bool Initialized() override;
    int FindOrLoadSound(const std::string& name) override;
    bool LoadSound(int id, const std::string& name) override;
    void ReleaseSound(int id) override;
    void SetVolume(double volume) override;
    bool SetBaseVolume(int id, double volume) override;
    bool SetBasePan(int id, int pan) override;
    SoundInstance* GetSoundInstance(int id) override;
    SoundInstance* FindPlayingInstance(int id) override;
    void ReleaseSounds() override;
    void ReleaseChannels() override;
    double GetMasterVolume() override;
    void SetMasterVolume(double volume) override;
    void Update() override;
    void SetCooperativeWindow(void* window, bool windowed) override;
    void StopAllSounds() override;
    void StopSound(int id) override;
    int GetFreeSoundId() override;
    int GetNumSounds() override;

    double GetVolume() const { return m_volume; }
    bool IsLoaded(int id);
    // Bytes of sample data in the id; 0 when it holds nothing.
    uint32_t GetDataSize(int id);
    // The id's sample, or null.
    std::shared_ptr<const PcmSound> GetSound(int id);

    // Conversions to the sound layer's units.
    static int VolumeToDecibels(double volume);
    static uint32_t PitchToFrequency(uint32_t baseFrequency, double semitones);

private:
    static bool ValidId(int id) { return id >= 0 && id < kMaxSounds; }
    bool LoadSoundFromFiles(int id, const std::string& name);
    void Publish(int id, std::shared_ptr<const PcmSound> sound);
    int FindChannel();
    static void StopKeepingRelease(DSoundInstance& instance);
    // The sound system, null (silent) when the device did not open. The
    // first call waits until the device's opening is over.
    SoundSystem* System();

    std::shared_ptr<AudioContext> m_context;
    std::mutex m_systemMutex;
    std::shared_ptr<SoundSystem> m_system;
    bool m_systemKnown{false};
    std::mutex m_mutex;
    std::array<std::shared_ptr<SoundBuffer>, kMaxSounds> m_buffers{};
    std::array<std::string, kMaxSounds> m_names{};
    std::array<double, kMaxSounds> m_baseVolumes{};
    std::array<int, kMaxSounds> m_basePans{};
    std::array<std::unique_ptr<DSoundInstance>, kMaxChannels> m_channels;
    std::atomic<double> m_volume{1.0};
    uint32_t m_lastSweepTime{0};
    double m_masterVolume{1.0};
};
