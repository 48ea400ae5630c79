#pragma once

#include "audio/Mixer.h"
#include "platform/MusicEngine.h"

#include <map>
#include <memory>

class MusicDecoder;

// The music library over our decoders: each song is a channel that the
// mixer pulls, decoding as it plays. All state sits under the mixer's lock.
class DecoderMusicEngine : public MusicEngine, public MixerInput
{
public:
    explicit DecoderMusicEngine(std::shared_ptr<Mixer> mixer);
    ~DecoderMusicEngine() override;

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

    void MixInto(float* stereo, size_t frames) override;

private:
    struct Channel;

    uint32_t Add(std::unique_ptr<MusicDecoder> decoder, Bytes file, bool module, uint32_t flags);
    Channel* Find(uint32_t handle);
    void Free(uint32_t handle, bool module);
    static void Prime(Channel& channel);
    static bool Fetch(Channel& channel, float& left, float& right);
    void MixChannel(Channel& channel, float* stereo, size_t frames);

    std::shared_ptr<Mixer> m_mixer;
    std::map<uint32_t, std::unique_ptr<Channel>> m_channels;
    uint32_t m_nextHandle{1};
    float m_streamGain{1.0f};
    float m_moduleGain{1.0f};
};
