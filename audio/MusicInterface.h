#pragma once

#include <string>

// A player of songs addressed by id. This base class is the silent player:
// every operation does nothing and every result is false.
class MusicInterface
{
public:
    virtual ~MusicInterface() = default;

    virtual bool LoadMusic(int id, const std::string& fileName);
    virtual void PlayMusic(int id, int offset, bool noLoop);
    virtual void StopMusic(int id);
    virtual void PauseMusic(int id);
    virtual void ResumeMusic(int id);
    virtual void StopAllMusic();
    virtual void UnloadMusic(int id);
    virtual void UnloadAllMusic();
    virtual void PauseAllMusic();
    virtual void ResumeAllMusic();
    virtual void FadeInMusic(int id, int offset, double speed, bool noLoop);
    virtual void FadeOutMusic(int id, bool stopWhenFaded, double speed);
    virtual void FadeOutAllMusic(bool stopWhenFaded, double speed);
    virtual void SetSongVolume(int id, double volume);
    virtual void SetSongMaxVolume(int id, double cap);
    virtual bool IsPlaying(int id);
    virtual void SetVolume(double volume);
    virtual void SetSongAttribute(int id, double value);
    virtual void Update();
    // True while a song's volume is still fading: Update has work to do.
    virtual bool IsFading();
};
