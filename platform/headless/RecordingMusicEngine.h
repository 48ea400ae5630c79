#pragma once

#include "platform/MusicEngine.h"

#include <map>
#include <string>
#include <vector>

// A music library that plays nothing and remembers what it was told. Any
// non-empty file loads; a song plays from ChannelPlay until stopped, paused
// or Finish.
class RecordingMusicEngine : public MusicEngine
{
public:
    struct ChannelState
    {
        bool module{false};
        bool freed{false};
        int state{kStopped};
        float volume{1.0f};
        uint32_t flags{0};
        int64_t position{0};
        int restarts{0};
    };

    void SetConfig(int option, int value) override;
    uint32_t MusicLoad(Bytes file, uint32_t flags) override;
    uint32_t StreamCreateFile(Bytes file, uint32_t flags) override;
    void MusicFree(uint32_t handle) override;
    void StreamFree(uint32_t handle) override;
    bool ChannelPlay(uint32_t handle, bool restart) override;
    void ChannelStop(uint32_t handle) override;
    void ChannelPause(uint32_t handle) override;
    void ChannelSetAttribute(uint32_t handle, int attribute, float value) override;
    void ChannelSetPosition(uint32_t handle, int64_t position) override;
    void ChannelFlags(uint32_t handle, uint32_t flags) override;
    int ChannelIsActive(uint32_t handle) override;

    // A one-shot song reaching its end.
    void Finish(uint32_t handle);
    const ChannelState* GetChannel(uint32_t handle) const;
    const std::map<uint32_t, ChannelState>& GetChannels() const { return m_channels; }
    const std::vector<std::string>& GetCalls() const { return m_calls; }
    int GetConfig(int option) const;

private:
    uint32_t Add(const Bytes& file, bool module, uint32_t flags);

    std::map<uint32_t, ChannelState> m_channels;
    std::map<int, int> m_config;
    std::vector<std::string> m_calls;
    uint32_t m_nextHandle{1};
};
