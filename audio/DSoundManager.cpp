#include "audio/DSoundManager.h"

#include "audio/AudioContext.h"
#include "audio/DSoundInstance.h"
#include "audio/SoundFiles.h"
#include "base/Common.h"
#include "platform/Clock.h"
#include "platform/SoundSystem.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

DSoundManager::DSoundManager(void* window)
{
    m_baseVolumes.fill(1.0);
    m_basePans.fill(0);
    if (!window)
        return;
    // Whether the device opened is known later (see System); the context
    // is kept either way, so nothing asks for a device again.
    m_context = AudioContext::Acquire();
}

DSoundManager::DSoundManager(std::shared_ptr<SoundSystem> system)
    : m_system(std::move(system)), m_systemKnown(true)
{
    m_baseVolumes.fill(1.0);
    m_basePans.fill(0);
}

DSoundManager::~DSoundManager()
{
    ReleaseChannels();
    ReleaseSounds();
    m_system.reset();
    m_context.reset();
}

bool DSoundManager::Initialized()
{
    return System() != nullptr;
}

SoundSystem* DSoundManager::System()
{
    std::lock_guard lock(m_systemMutex);
    if (!m_systemKnown) {
        m_systemKnown = true;
        if (m_context && m_context->IsOpen()) {
            m_system = m_context->GetSoundSystem();
            m_system->SetMasterVolume(m_masterVolume);
        }
    }
    return m_system.get();
}

int DSoundManager::VolumeToDecibels(double volume)
{
    if (!(volume > 0.0))
        return kSilentVolume;
    volume = std::min(volume, 1.0);
    int x = static_cast<int>(2333.0 * (std::log10(9.0 * volume + 1.0) - 1.0));
    return x < -2000 ? kSilentVolume : x;
}

uint32_t DSoundManager::PitchToFrequency(uint32_t baseFrequency, double semitones)
{
    double f = std::pow(1.0594630943592953, semitones) * baseFrequency;
    if (std::isnan(f))
        f = baseFrequency;
    f = std::clamp(f, static_cast<double>(kMinFrequency), static_cast<double>(kMaxFrequency));
    return static_cast<uint32_t>(f);
}

int DSoundManager::FindOrLoadSound(const std::string& name)
{
    int id = -1;
    {
        std::lock_guard lock(m_mutex);
        for (int i = 0; i < kMaxSounds; ++i) {
            if (m_names[i] == name)
                return i;
        }
        // The name reserves the slot, so a loader on another thread never
        // picks the same free slot while this one loads. A name that failed
        // to load keeps its slot, so it is not tried again.
        for (int i = kMaxSounds - 1; i >= 0; --i) {
            if (!m_buffers[i] && m_names[i].empty()) {
                id = i;
                if (System())
                    m_names[i] = name;
                break;
            }
        }
    }
    if (id < 0)
        return -1;
    if (System() && !LoadSoundFromFiles(id, name))
        return -1;
    return id;
}

bool DSoundManager::LoadSound(int id, const std::string& name)
{
    if (!ValidId(id))
        return false;
    ReleaseSound(id);
    if (!System())
        return true;
    {
        std::lock_guard lock(m_mutex);
        m_names[id] = name;
    }
    return LoadSoundFromFiles(id, name);
}

bool DSoundManager::LoadSoundFromFiles(int id, const std::string& name)
{
    auto sound = std::make_shared<PcmSound>();
    const std::string cachePath = GetCachePath(name);
    if (!cachePath.empty()) {
        if (ReadCacheWav(cachePath, *sound)) {
            Publish(id, std::move(sound));
            return true;
        }
        MakeDirectories(GetFileDir(cachePath));
    }
    if (ReadWavFile(name + ".wav", *sound)) {
        Publish(id, std::move(sound));
        return true;
    }
    for (const char* extension : {".ogg", ".au"}) {
        const std::string source = name + extension;
        bool read = extension[1] == 'o' ? ReadOggFile(source, *sound) : ReadAuFile(source, *sound);
        if (!read)
            continue;
        if (!cachePath.empty()) {
            SourceStamp stamp;
            if (GetSourceStamp(source, stamp) && !WriteCacheWav(*sound, cachePath, stamp))
                std::fprintf(stderr, "Could not write the sound cache file %s\n", cachePath.c_str());
        }
        Publish(id, std::move(sound));
        return true;
    }
    return false;
}

void DSoundManager::Publish(int id, std::shared_ptr<const PcmSound> sound)
{
    std::shared_ptr<SoundBuffer> buffer = System()->CreateSoundBuffer(std::move(sound));
    std::lock_guard lock(m_mutex);
    m_buffers[id] = std::move(buffer);
}

void DSoundManager::ReleaseSound(int id)
{
    if (!ValidId(id))
        return;
    std::lock_guard lock(m_mutex);
    if (m_buffers[id]) {
        m_buffers[id].reset();
        m_names[id].clear();
    }
}

void DSoundManager::SetVolume(double volume)
{
    m_volume = volume;
    std::lock_guard lock(m_mutex);
    for (auto& channel : m_channels) {
        if (channel)
            channel->ApplyVolume();
    }
}

bool DSoundManager::SetBaseVolume(int id, double volume)
{
    if (!ValidId(id))
        return false;
    std::lock_guard lock(m_mutex);
    m_baseVolumes[id] = volume;
    return true;
}

bool DSoundManager::SetBasePan(int id, int pan)
{
    if (!ValidId(id))
        return false;
    std::lock_guard lock(m_mutex);
    m_basePans[id] = pan;
    return true;
}

int DSoundManager::FindChannel()
{
    const auto now = static_cast<uint32_t>(CurrentClock().NowMs());
    if (now - m_lastSweepTime > 1000) {
        for (auto& channel : m_channels) {
            if (channel && channel->IsReleased())
                channel.reset();
        }
        m_lastSweepTime = now;
    }
    for (int i = 0; i < kMaxChannels; ++i) {
        if (!m_channels[i])
            return i;
        if (m_channels[i]->IsReleased()) {
            m_channels[i].reset();
            return i;
        }
    }
    return -1;
}

SoundInstance* DSoundManager::GetSoundInstance(int id)
{
    if (!ValidId(id))
        return nullptr;
    std::lock_guard lock(m_mutex);
    int channel = FindChannel();
    if (channel < 0)
        return nullptr;
    std::unique_ptr<SoundBuffer> buffer;
    if (SoundSystem* system = System()) {
        if (!m_buffers[id])
            return nullptr;
        buffer = system->DuplicateSoundBuffer(*m_buffers[id]);
        if (!buffer) {
            std::fprintf(stderr, "Could not make a voice for sound %d\n", id);
            return nullptr;
        }
    }
    auto& instance = m_channels[channel];
    instance = std::make_unique<DSoundInstance>(*this, id, std::move(buffer));
    instance->SetBasePan(m_basePans[id]);
    instance->SetBaseVolume(m_baseVolumes[id]);
    return instance.get();
}

SoundInstance* DSoundManager::FindPlayingInstance(int id)
{
    if (!ValidId(id))
        return nullptr;
    std::lock_guard lock(m_mutex);
    for (auto& channel : m_channels) {
        if (channel && channel->GetSoundId() == id && channel->IsPlaying())
            return channel.get();
    }
    return nullptr;
}

void DSoundManager::ReleaseSounds()
{
    std::lock_guard lock(m_mutex);
    for (auto& buffer : m_buffers)
        buffer.reset();
}

void DSoundManager::ReleaseChannels()
{
    std::lock_guard lock(m_mutex);
    for (auto& channel : m_channels)
        channel.reset();
}

double DSoundManager::GetMasterVolume()
{
    // Asks no device: the volume is set at start-up, while the device may
    // still be opening.
    std::lock_guard lock(m_systemMutex);
    return m_system ? m_system->GetMasterVolume() : m_masterVolume;
}

void DSoundManager::SetMasterVolume(double volume)
{
    std::lock_guard lock(m_systemMutex);
    m_masterVolume = std::isnan(volume) ? 0.0 : std::clamp(volume, 0.0, 1.0);
    if (m_system)
        m_system->SetMasterVolume(m_masterVolume);
}

void DSoundManager::Update() {}

void DSoundManager::SetCooperativeWindow(void*, bool) {}

// Both stops keep each instance's self-release flag, so a stopped instance
// that was to release itself is still swept.
void DSoundManager::StopAllSounds()
{
    std::lock_guard lock(m_mutex);
    for (auto& channel : m_channels) {
        if (channel)
            StopKeepingRelease(*channel);
    }
}

void DSoundManager::StopSound(int id)
{
    if (!ValidId(id))
        return;
    std::lock_guard lock(m_mutex);
    for (auto& channel : m_channels) {
        if (channel && channel->GetSoundId() == id)
            StopKeepingRelease(*channel);
    }
}

void DSoundManager::StopKeepingRelease(DSoundInstance& instance)
{
    bool autoRelease = instance.GetAutoRelease();
    instance.Stop();
    instance.SetAutoRelease(autoRelease);
}

int DSoundManager::GetFreeSoundId()
{
    std::lock_guard lock(m_mutex);
    for (int i = 0; i < kMaxSounds; ++i) {
        if (!m_buffers[i])
            return i;
    }
    return -1;
}

int DSoundManager::GetNumSounds()
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(
        std::count_if(m_buffers.begin(), m_buffers.end(), [](const auto& b) { return b != nullptr; }));
}

bool DSoundManager::IsLoaded(int id)
{
    if (!ValidId(id))
        return false;
    std::lock_guard lock(m_mutex);
    return m_buffers[id] != nullptr;
}

uint32_t DSoundManager::GetDataSize(int id)
{
    if (!ValidId(id))
        return 0;
    std::lock_guard lock(m_mutex);
    return m_buffers[id] ? static_cast<uint32_t>(m_buffers[id]->GetSound().data.size()) : 0;
}

std::shared_ptr<const PcmSound> DSoundManager::GetSound(int id)
{
    if (!ValidId(id))
        return nullptr;
    std::lock_guard lock(m_mutex);
    if (!m_buffers[id])
        return nullptr;
    // The buffer keeps its sample alive; hand out a copy of the pointer by aliasing.
    return std::shared_ptr<const PcmSound>(m_buffers[id], &m_buffers[id]->GetSound());
}
