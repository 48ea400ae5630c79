#include "audio/BassMusicInterface.h"

#include "audio/AudioContext.h"
#include "audio/SoundFiles.h"
#include "platform/MusicEngine.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

constexpr int kAttributeFrequency = 1;
constexpr int kAttributePan = 3;
constexpr uint32_t kModuleFlags = 0x200;
constexpr uint32_t kModuleResetFlag = 0x8000;
// A fade-in steps in floating point: coming within this of the cap reaches it.
constexpr double kFadeTolerance = 1e-9;

bool IsStreamExtension(const std::string& fileName)
{
    const size_t dot = fileName.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : fileName.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == "wav" || extension == "ogg" || extension == "mp3";
}

} // namespace

BassMusicInterface::BassMusicInterface(std::shared_ptr<MusicEngine> engine,
                                       std::shared_ptr<AudioContext> context)
    : m_context(std::move(context)), m_engine(std::move(engine))
{
    m_engine->SetConfig(MusicEngine::kConfigModuleVolume, 4000);
    m_engine->SetConfig(MusicEngine::kConfigStreamVolume, m_streamVolumePercent * 100);
}

BassMusicInterface::~BassMusicInterface()
{
    UnloadAllMusic();
}

std::unique_ptr<MusicInterface> BassMusicInterface::Create(void* window)
{
    if (!window)
        return std::make_unique<MusicInterface>();
    std::shared_ptr<AudioContext> context = AudioContext::Acquire();
    return std::make_unique<BassMusicInterface>(context->GetMusicEngine(), context);
}

bool BassMusicInterface::LoadMusic(int id, const std::string& fileName)
{
    // Without a device nothing loads, so the player stays silent: no song
    // plays, and none is left playing forever for lack of a device to end it.
    if (m_context && !m_context->IsOpen())
        return false;
    {
        std::lock_guard lock(m_mutex);
        if (m_songs.count(id) != 0)
            return true;
    }
    auto bytes = std::make_shared<std::vector<uint8_t>>();
    if (!ReadWholeFile(fileName, *bytes))
        return false;
    MusicInfo song;
    if (IsStreamExtension(fileName))
        song.streamHandle = m_engine->StreamCreateFile(std::move(bytes), 0);
    else
        song.musicHandle = m_engine->MusicLoad(std::move(bytes), m_musicLoadFlags);
    if (song.Channel() == 0)
        return false;
    std::lock_guard lock(m_mutex);
    if (!m_songs.emplace(id, song).second)
        FreeLocked(song);
    return true;
}

void BassMusicInterface::SetChannelVolume(const MusicInfo& song)
{
    m_engine->ChannelSetAttribute(song.Channel(), MusicEngine::kAttributeVolume,
                                  static_cast<float>(m_volume * song.volume));
}

void BassMusicInterface::StartAtOffset(MusicInfo& song, int offset, bool noLoop, uint32_t moduleFlags)
{
    const uint32_t channel = song.Channel();
    if (song.musicHandle != 0) {
        m_engine->ChannelStop(channel);
        const auto order =
            static_cast<int32_t>(MusicEngine::kOrderPosition | (static_cast<uint32_t>(offset) & 0xFFFF));
        m_engine->ChannelSetPosition(channel, static_cast<int64_t>(order));
        m_engine->ChannelFlags(channel, noLoop ? moduleFlags : moduleFlags | MusicEngine::kFlagLoop);
        m_engine->ChannelPlay(channel, false);
    } else {
        m_engine->ChannelFlags(channel, noLoop ? 0 : MusicEngine::kFlagLoop);
        m_engine->ChannelPlay(channel, offset != -1);
        if (offset > 0)
            m_engine->ChannelSetPosition(channel, offset);
    }
}

void BassMusicInterface::PlayMusic(int id, int offset, bool noLoop)
{
    std::lock_guard lock(m_mutex);
    auto it = m_songs.find(id);
    if (it == m_songs.end())
        return;
    MusicInfo& song = it->second;
    song.volume = song.volumeCap;
    song.stopWhenFaded = noLoop;
    song.fadeSpeed = 0.0;
    m_engine->ChannelSetAttribute(song.Channel(), kAttributeFrequency, -1.0f);
    SetChannelVolume(song);
    m_engine->ChannelSetAttribute(song.Channel(), kAttributePan, -101.0f);
    m_engine->ChannelStop(song.Channel());
    StartAtOffset(song, offset, noLoop, kModuleResetFlag | kModuleFlags);
}

void BassMusicInterface::FadeInMusic(int id, int offset, double speed, bool noLoop)
{
    std::lock_guard lock(m_mutex);
    auto it = m_songs.find(id);
    if (it == m_songs.end())
        return;
    MusicInfo& song = it->second;
    song.fadeSpeed = speed;
    song.stopWhenFaded = noLoop;
    m_engine->ChannelStop(song.Channel());
    m_engine->ChannelSetAttribute(song.Channel(), kAttributeFrequency, -1.0f);
    SetChannelVolume(song);
    m_engine->ChannelSetAttribute(song.Channel(), kAttributePan, -101.0f);
    if (song.musicHandle != 0 && offset == -1)
        m_engine->ChannelPlay(song.Channel(), true);
    else
        StartAtOffset(song, offset, noLoop, kModuleFlags);
}

void BassMusicInterface::StopLocked(MusicInfo& song)
{
    song.volume = 0.0;
    m_engine->ChannelStop(song.Channel());
}

void BassMusicInterface::FreeLocked(MusicInfo& song)
{
    if (song.streamHandle != 0)
        m_engine->StreamFree(song.streamHandle);
    else if (song.musicHandle != 0)
        m_engine->MusicFree(song.musicHandle);
}

void BassMusicInterface::StopMusic(int id)
{
    std::lock_guard lock(m_mutex);
    if (auto it = m_songs.find(id); it != m_songs.end())
        StopLocked(it->second);
}

void BassMusicInterface::PauseMusic(int id)
{
    std::lock_guard lock(m_mutex);
    if (auto it = m_songs.find(id); it != m_songs.end())
        m_engine->ChannelPause(it->second.Channel());
}

void BassMusicInterface::ResumeMusic(int id)
{
    std::lock_guard lock(m_mutex);
    if (auto it = m_songs.find(id); it != m_songs.end())
        m_engine->ChannelPlay(it->second.Channel(), false);
}

void BassMusicInterface::StopAllMusic()
{
    std::lock_guard lock(m_mutex);
    for (auto& [id, song] : m_songs)
        StopLocked(song);
}

void BassMusicInterface::UnloadMusic(int id)
{
    std::lock_guard lock(m_mutex);
    auto it = m_songs.find(id);
    if (it == m_songs.end())
        return;
    StopLocked(it->second);
    FreeLocked(it->second);
    m_songs.erase(it);
}

void BassMusicInterface::UnloadAllMusic()
{
    std::lock_guard lock(m_mutex);
    for (auto& [id, song] : m_songs)
        StopLocked(song);
    for (auto& [id, song] : m_songs)
        FreeLocked(song);
    m_songs.clear();
}

void BassMusicInterface::PauseAllMusic()
{
    std::lock_guard lock(m_mutex);
    for (auto& [id, song] : m_songs) {
        if (m_engine->ChannelIsActive(song.Channel()) == MusicEngine::kPlaying)
            m_engine->ChannelPause(song.Channel());
    }
}

void BassMusicInterface::ResumeAllMusic()
{
    std::lock_guard lock(m_mutex);
    for (auto& [id, song] : m_songs) {
        if (m_engine->ChannelIsActive(song.Channel()) == MusicEngine::kPaused)
            m_engine->ChannelPlay(song.Channel(), false);
    }
}

void BassMusicInterface::FadeOutMusic(int id, bool stopWhenFaded, double speed)
{
    std::lock_guard lock(m_mutex);
    auto it = m_songs.find(id);
    if (it == m_songs.end())
        return;
    MusicInfo& song = it->second;
    song.stopWhenFaded = stopWhenFaded;
    if (song.volume != 0.0) {
        song.fadeSpeed = -speed;
        return;
    }
    // Already silent: end any fade-in here instead of letting it rise again.
    song.fadeSpeed = 0.0;
    if (stopWhenFaded)
        m_engine->ChannelStop(song.Channel());
}

void BassMusicInterface::FadeOutAllMusic(bool stopWhenFaded, double speed)
{
    std::lock_guard lock(m_mutex);
    for (auto& [id, song] : m_songs) {
        song.fadeSpeed = -speed;
        song.stopWhenFaded = stopWhenFaded;
    }
}

void BassMusicInterface::SetSongVolume(int id, double volume)
{
    std::lock_guard lock(m_mutex);
    auto it = m_songs.find(id);
    if (it == m_songs.end())
        return;
    it->second.volume = volume;
    SetChannelVolume(it->second);
}

void BassMusicInterface::SetSongMaxVolume(int id, double cap)
{
    std::lock_guard lock(m_mutex);
    auto it = m_songs.find(id);
    if (it == m_songs.end())
        return;
    MusicInfo& song = it->second;
    song.volumeCap = cap;
    if (cap <= song.volume)
        song.volume = cap;
    SetChannelVolume(song);
}

bool BassMusicInterface::IsPlaying(int id)
{
    std::lock_guard lock(m_mutex);
    auto it = m_songs.find(id);
    return it != m_songs.end() && m_engine->ChannelIsActive(it->second.Channel()) == MusicEngine::kPlaying;
}

void BassMusicInterface::SetVolume(double volume)
{
    std::lock_guard lock(m_mutex);
    m_volume = static_cast<float>(volume);
    for (auto& [id, song] : m_songs)
        SetChannelVolume(song);
}

void BassMusicInterface::SetSongAttribute(int id, double value)
{
    std::lock_guard lock(m_mutex);
    if (auto it = m_songs.find(id); it != m_songs.end())
        m_engine->ChannelSetAttribute(it->second.Channel(), MusicEngine::kAttributeModuleAmplify,
                                      static_cast<float>(value));
}

void BassMusicInterface::Update()
{
    std::lock_guard lock(m_mutex);
    for (auto& [id, song] : m_songs) {
        if (song.fadeSpeed == 0.0)
            continue;
        song.volume += song.fadeSpeed;
        const bool reachedCap = song.fadeSpeed > 0.0 ? song.volume > song.volumeCap - kFadeTolerance
                                                     : song.volume > song.volumeCap;
        if (reachedCap) {
            song.volume = song.volumeCap;
            song.fadeSpeed = 0.0;
        } else if (song.volume < 0.0) {
            song.volume = 0.0;
            song.fadeSpeed = 0.0;
            if (song.stopWhenFaded)
                m_engine->ChannelStop(song.Channel());
        }
        SetChannelVolume(song);
    }
}

bool BassMusicInterface::IsFading()
{
    std::lock_guard lock(m_mutex);
    return std::any_of(m_songs.begin(), m_songs.end(),
                       [](const auto& entry) { return entry.second.fadeSpeed != 0.0; });
}

double BassMusicInterface::GetSongVolume(int id)
{
    std::lock_guard lock(m_mutex);
    auto it = m_songs.find(id);
    return it == m_songs.end() ? 0.0 : it->second.volume;
}
