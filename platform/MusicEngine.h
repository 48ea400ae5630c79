#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// The music library the players drive: songs decoded from files held in
// memory, each with one channel. Handles are never 0; 0 reports a failure.
class MusicEngine
{
public:
    enum Config
    {
        kConfigStreamVolume = 5,
        kConfigModuleVolume = 6
    }; // 0..10000
    enum Attribute
    {
        kAttributeVolume = 2,
        kAttributeModuleAmplify = 0x100
    };
    static constexpr uint32_t kFlagLoop = 4;
    enum State
    {
        kStopped = 0,
        kPlaying = 1,
        kPaused = 3
    };
    // A module position with this bit set names an order in its low 16 bits.
    static constexpr uint32_t kOrderPosition = 0x80000000u;

    using Bytes = std::shared_ptr<const std::vector<uint8_t>>;

    virtual ~MusicEngine() = default;

    virtual void SetConfig(int option, int value) = 0;
    virtual uint32_t MusicLoad(Bytes file, uint32_t flags) = 0;
    virtual uint32_t StreamCreateFile(Bytes file, uint32_t flags) = 0;
    virtual void MusicFree(uint32_t handle) = 0;
    virtual void StreamFree(uint32_t handle) = 0;

    virtual bool ChannelPlay(uint32_t handle, bool restart) = 0;
    virtual void ChannelStop(uint32_t handle) = 0;
    virtual void ChannelPause(uint32_t handle) = 0;
    virtual void ChannelSetAttribute(uint32_t handle, int attribute, float value) = 0;
    // Streams: a byte position of the decoded 16-bit output. Modules: an
    // order position (kOrderPosition | order).
    virtual void ChannelSetPosition(uint32_t handle, int64_t position) = 0;
    virtual void ChannelFlags(uint32_t handle, uint32_t flags) = 0;
    virtual int ChannelIsActive(uint32_t handle) = 0;
};
