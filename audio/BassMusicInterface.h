#pragma once

#include "audio/MusicInterface.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

class AudioContext;
class MusicEngine;

// The song player over the shared music engine. Players share the engine;
// each frees only its own songs.
class BassMusicInterface : public MusicInterface
{
public:
    // context, when given, keeps the device that plays the engine open; when
    // its device did not open, nothing loads and the player is silent.
    explicit BassMusicInterface(std::shared_ptr<MusicEngine> engine,
                                std::shared_ptr<AudioContext> context = nullptr);
    ~BassMusicInterface() override;

    // The player for the application over the process's audio context; a
    // silent MusicInterface without a window.
    static std::unique_ptr<MusicInterface> Create(void* window);

    bool LoadMusic(int id, const std::string& fileName) override;
    void PlayMusic(int id, int offset, bool noLoop) override;
    void StopMusic(int id) override;
    void PauseMusic(int id) override;
    void ResumeMusic(int id) override;
    void StopAllMusic() override;
    void UnloadMusic(int id) override;
    void UnloadAllMusic() override;
    void PauseAllMusic() override;
    void ResumeAllMusic() override;
    void FadeInMusic(int id, int offset, double speed, bool noLoop) override;
    void FadeOutMusic(int id, bool stopWhenFaded, double speed) override;
    void FadeOutAllMusic(bool stopWhenFaded, double speed) override;
    void SetSongVolume(int id, double volume) override;
    void SetSongMaxVolume(int id, double cap) override;
    bool IsPlaying(int id) override;
    void SetVolume(double volume) override;
    void SetSongAttribute(int id, double value) override;
    void Update() override;
    bool IsFading() override;

    // The song's current volume (0 when not loaded), for tests and callers
    // that fade by hand.
    double GetSongVolume(int id);

private:
    struct MusicInfo
    {
        uint32_t musicHandle{0};
        uint32_t streamHandle{0};
        double volume{0.0};
        double fadeSpeed{0.0};
        double volumeCap{1.0};
        bool stopWhenFaded{false};

        uint32_t Channel() const { return musicHandle != 0 ? musicHandle : streamHandle; }
    };

    void SetChannelVolume(const MusicInfo& song);
    void StopLocked(MusicInfo& song);
    void FreeLocked(MusicInfo& song);
    void StartAtOffset(MusicInfo& song, int offset, bool noLoop, uint32_t moduleFlags);

    std::shared_ptr<AudioContext> m_context;
    std::shared_ptr<MusicEngine> m_engine;
    std::mutex m_mutex;
    std::map<int, MusicInfo> m_songs;
    float m_volume{1.0f};
    int m_streamVolumePercent{40};
    uint32_t m_musicLoadFlags{0x204};
};
