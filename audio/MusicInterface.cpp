#include "audio/MusicInterface.h"

bool MusicInterface::LoadMusic(int, const std::string&)
{
    return false;
}
void MusicInterface::PlayMusic(int, int, bool) {}
void MusicInterface::StopMusic(int) {}
void MusicInterface::PauseMusic(int) {}
void MusicInterface::ResumeMusic(int) {}
void MusicInterface::StopAllMusic() {}
void MusicInterface::UnloadMusic(int) {}
void MusicInterface::UnloadAllMusic() {}
void MusicInterface::PauseAllMusic() {}
void MusicInterface::ResumeAllMusic() {}
void MusicInterface::FadeInMusic(int, int, double, bool) {}
void MusicInterface::FadeOutMusic(int, bool, double) {}
void MusicInterface::FadeOutAllMusic(bool, double) {}
void MusicInterface::SetSongVolume(int, double) {}
void MusicInterface::SetSongMaxVolume(int, double) {}
bool MusicInterface::IsPlaying(int)
{
    return false;
}
void MusicInterface::SetVolume(double) {}
void MusicInterface::SetSongAttribute(int, double) {}
void MusicInterface::Update() {}

bool MusicInterface::IsFading()
{
    return false;
}
