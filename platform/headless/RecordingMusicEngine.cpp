#include "platform/headless/RecordingMusicEngine.h"

#include <cstdio>

namespace {

std::string Describe(const char* call, uint32_t handle, double value)
{
    char text[96];
    std::snprintf(text, sizeof text, "%s %u %g", call, handle, value);
    return text;
}

} // namespace

void RecordingMusicEngine::SetConfig(int option, int value)
{
    m_calls.push_back(Describe("SetConfig", static_cast<uint32_t>(option), value));
    m_config[option] = value;
}

int RecordingMusicEngine::GetConfig(int option) const
{
    auto it = m_config.find(option);
    return it == m_config.end() ? -1 : it->second;
}

uint32_t RecordingMusicEngine::Add(const Bytes& file, bool module, uint32_t flags)
{
    if (!file || file->empty())
        return 0;
    uint32_t handle = m_nextHandle++;
    ChannelState& channel = m_channels[handle];
    channel.module = module;
    channel.flags = flags;
    return handle;
}

uint32_t RecordingMusicEngine::MusicLoad(Bytes file, uint32_t flags)
{
    uint32_t handle = Add(file, true, flags);
    m_calls.push_back(Describe("MusicLoad", handle, flags));
    return handle;
}

uint32_t RecordingMusicEngine::StreamCreateFile(Bytes file, uint32_t flags)
{
    uint32_t handle = Add(file, false, flags);
    m_calls.push_back(Describe("StreamCreateFile", handle, flags));
    return handle;
}

void RecordingMusicEngine::MusicFree(uint32_t handle)
{
    m_calls.push_back(Describe("MusicFree", handle, 0));
    if (auto it = m_channels.find(handle); it != m_channels.end() && it->second.module)
        it->second.freed = true;
}

void RecordingMusicEngine::StreamFree(uint32_t handle)
{
    m_calls.push_back(Describe("StreamFree", handle, 0));
    if (auto it = m_channels.find(handle); it != m_channels.end() && !it->second.module)
        it->second.freed = true;
}

bool RecordingMusicEngine::ChannelPlay(uint32_t handle, bool restart)
{
    m_calls.push_back(Describe("ChannelPlay", handle, restart));
    auto it = m_channels.find(handle);
    if (it == m_channels.end() || it->second.freed)
        return false;
    it->second.state = kPlaying;
    if (restart) {
        it->second.position = 0;
        ++it->second.restarts;
    }
    return true;
}

void RecordingMusicEngine::ChannelStop(uint32_t handle)
{
    m_calls.push_back(Describe("ChannelStop", handle, 0));
    if (auto it = m_channels.find(handle); it != m_channels.end())
        it->second.state = kStopped;
}

void RecordingMusicEngine::ChannelPause(uint32_t handle)
{
    m_calls.push_back(Describe("ChannelPause", handle, 0));
    if (auto it = m_channels.find(handle); it != m_channels.end() && it->second.state == kPlaying)
        it->second.state = kPaused;
}

void RecordingMusicEngine::ChannelSetAttribute(uint32_t handle, int attribute, float value)
{
    char text[96];
    std::snprintf(text, sizeof text, "ChannelSetAttribute %u %d %g", handle, attribute,
                  static_cast<double>(value));
    m_calls.push_back(text);
    if (auto it = m_channels.find(handle); it != m_channels.end() && attribute == kAttributeVolume)
        it->second.volume = value;
}

void RecordingMusicEngine::ChannelSetPosition(uint32_t handle, int64_t position)
{
    m_calls.push_back(Describe("ChannelSetPosition", handle, static_cast<double>(position)));
    if (auto it = m_channels.find(handle); it != m_channels.end())
        it->second.position = position;
}

void RecordingMusicEngine::ChannelFlags(uint32_t handle, uint32_t flags)
{
    m_calls.push_back(Describe("ChannelFlags", handle, flags));
    if (auto it = m_channels.find(handle); it != m_channels.end())
        it->second.flags = flags;
}

int RecordingMusicEngine::ChannelIsActive(uint32_t handle)
{
    auto it = m_channels.find(handle);
    return it == m_channels.end() ? kStopped : it->second.state;
}

void RecordingMusicEngine::Finish(uint32_t handle)
{
    if (auto it = m_channels.find(handle); it != m_channels.end())
        it->second.state = kStopped;
}

const RecordingMusicEngine::ChannelState* RecordingMusicEngine::GetChannel(uint32_t handle) const
{
    auto it = m_channels.find(handle);
    return it == m_channels.end() ? nullptr : &it->second;
}
