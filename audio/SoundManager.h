#pragma once

#include <string>

class SoundInstance;

// Sound effects: up to 1024 loaded samples (ids 0..1023) and 32 channels of
// playing instances.
class SoundManager
{
public:
    static constexpr int kMaxSounds = 1024;
    static constexpr int kMaxChannels = 32;

    virtual ~SoundManager() = default;

    virtual bool Initialized() = 0;
    virtual int FindOrLoadSound(const std::string& name) = 0;
    // name is a path without extension.
    virtual bool LoadSound(int id, const std::string& name) = 0;
    virtual void ReleaseSound(int id) = 0;
    virtual void SetVolume(double volume) = 0;
    virtual bool SetBaseVolume(int id, double volume) = 0;
    virtual bool SetBasePan(int id, int pan) = 0;
    // Null when the id is not loaded or every channel is busy.
    virtual SoundInstance* GetSoundInstance(int id) = 0;
    virtual SoundInstance* FindPlayingInstance(int id) = 0;
    virtual void ReleaseSounds() = 0;
    virtual void ReleaseChannels() = 0;
    virtual double GetMasterVolume() = 0;
    virtual void SetMasterVolume(double volume) = 0;
    virtual void Update() = 0;
    virtual void SetCooperativeWindow(void* window, bool windowed) = 0;
    virtual void StopAllSounds() = 0;
    virtual void StopSound(int id) = 0;
    virtual int GetFreeSoundId() = 0;
    virtual int GetNumSounds() = 0;
};
