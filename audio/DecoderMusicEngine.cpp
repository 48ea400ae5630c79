#include "audio/DecoderMusicEngine.h"

#include "audio/MusicDecoder.h"

#include <algorithm>

struct DecoderMusicEngine::Channel
{
    std::unique_ptr<MusicDecoder> decoder;
    Bytes file;
    bool module{false};
    bool looping{false};
    int state{kStopped};
    float volume{1.0f};
    float amplify{1.0f};
    double step{1.0};
    double fraction{0.0};
    float current[2]{};
    float next[2]{};
    bool primed{false};
    bool hasNext{false};
    // Played to its end: a later play without restart starts over.
    bool finished{false};
    std::vector<int16_t> block;
    size_t blockFrames{0};
    size_t blockPosition{0};
};

DecoderMusicEngine::DecoderMusicEngine(std::shared_ptr<Mixer> mixer) : m_mixer(std::move(mixer))
{
    m_mixer->AddInput(this);
}

DecoderMusicEngine::~DecoderMusicEngine()
{
    m_mixer->RemoveInput(this);
}

void DecoderMusicEngine::SetConfig(int option, int value)
{
    auto lock = m_mixer->Lock();
    float gain = static_cast<float>(std::clamp(value, 0, 10000)) / 10000.0f;
    if (option == kConfigStreamVolume)
        m_streamGain = gain;
    else if (option == kConfigModuleVolume)
        m_moduleGain = gain;
}

uint32_t DecoderMusicEngine::MusicLoad(Bytes file, uint32_t flags)
{
    auto decoder = MusicDecoder::CreateModule(file);
    return decoder ? Add(std::move(decoder), std::move(file), true, flags) : 0;
}

uint32_t DecoderMusicEngine::StreamCreateFile(Bytes file, uint32_t flags)
{
    auto decoder = MusicDecoder::CreateStream(file);
    return decoder ? Add(std::move(decoder), std::move(file), false, flags) : 0;
}

uint32_t DecoderMusicEngine::Add(std::unique_ptr<MusicDecoder> decoder, Bytes file, bool module,
                                 uint32_t flags)
{
    auto channel = std::make_unique<Channel>();
    channel->step = static_cast<double>(decoder->SampleRate()) / Mixer::kOutputRate;
    channel->block.resize(1024 * static_cast<size_t>(decoder->Channels()));
    channel->decoder = std::move(decoder);
    channel->file = std::move(file);
    channel->module = module;
    channel->looping = (flags & kFlagLoop) != 0;
    channel->decoder->SetLooping(channel->looping);
    auto lock = m_mixer->Lock();
    uint32_t handle = m_nextHandle++;
    if (m_nextHandle == 0)
        m_nextHandle = 1;
    m_channels[handle] = std::move(channel);
    return handle;
}

DecoderMusicEngine::Channel* DecoderMusicEngine::Find(uint32_t handle)
{
    auto it = m_channels.find(handle);
    return it == m_channels.end() ? nullptr : it->second.get();
}

void DecoderMusicEngine::Free(uint32_t handle, bool module)
{
    std::unique_ptr<Channel> doomed;
    {
        auto lock = m_mixer->Lock();
        auto it = m_channels.find(handle);
        if (it == m_channels.end() || it->second->module != module)
            return;
        doomed = std::move(it->second);
        m_channels.erase(it);
    }
}

void DecoderMusicEngine::MusicFree(uint32_t handle)
{
    Free(handle, true);
}
void DecoderMusicEngine::StreamFree(uint32_t handle)
{
    Free(handle, false);
}

bool DecoderMusicEngine::ChannelPlay(uint32_t handle, bool restart)
{
    auto lock = m_mixer->Lock();
    Channel* channel = Find(handle);
    if (!channel)
        return false;
    if (restart || channel->finished) {
        channel->decoder->Rewind();
        channel->primed = false;
        channel->finished = false;
    }
    channel->state = kPlaying;
    return true;
}

void DecoderMusicEngine::ChannelStop(uint32_t handle)
{
    auto lock = m_mixer->Lock();
    if (Channel* channel = Find(handle))
        channel->state = kStopped;
}

void DecoderMusicEngine::ChannelPause(uint32_t handle)
{
    auto lock = m_mixer->Lock();
    if (Channel* channel = Find(handle); channel && channel->state == kPlaying)
        channel->state = kPaused;
}

void DecoderMusicEngine::ChannelSetAttribute(uint32_t handle, int attribute, float value)
{
    auto lock = m_mixer->Lock();
    Channel* channel = Find(handle);
    if (!channel || !(value == value))
        return;
    if (attribute == kAttributeVolume)
        channel->volume = std::clamp(value, 0.0f, 1.0f);
    else if (attribute == kAttributeModuleAmplify && channel->module)
        channel->amplify = std::clamp(value, 0.0f, 100.0f) / 50.0f;
}

void DecoderMusicEngine::ChannelSetPosition(uint32_t handle, int64_t position)
{
    auto lock = m_mixer->Lock();
    Channel* channel = Find(handle);
    if (!channel)
        return;
    const auto word = static_cast<uint32_t>(position);
    if (channel->module && (word & kOrderPosition) != 0)
        channel->decoder->SetOrder(static_cast<int>(word & 0xFFFF));
    else if (!channel->module && position >= 0)
        channel->decoder->SeekFrame(static_cast<uint64_t>(position) /
                                    (2 * static_cast<uint64_t>(channel->decoder->Channels())));
    else
        return;
    channel->primed = false;
    channel->finished = false;
}

void DecoderMusicEngine::ChannelFlags(uint32_t handle, uint32_t flags)
{
    auto lock = m_mixer->Lock();
    if (Channel* channel = Find(handle)) {
        channel->looping = (flags & kFlagLoop) != 0;
        channel->decoder->SetLooping(channel->looping);
    }
}

int DecoderMusicEngine::ChannelIsActive(uint32_t handle)
{
    auto lock = m_mixer->Lock();
    Channel* channel = Find(handle);
    return channel ? channel->state : kStopped;
}

bool DecoderMusicEngine::Fetch(Channel& channel, float& left, float& right)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (channel.blockPosition < channel.blockFrames) {
            const int channels = channel.decoder->Channels();
            const int16_t* frame =
                channel.block.data() + channel.blockPosition * static_cast<size_t>(channels);
            left = frame[0];
            right = channels == 2 ? frame[1] : frame[0];
            ++channel.blockPosition;
            return true;
        }
        channel.blockPosition = 0;
        channel.blockFrames = channel.decoder->Read(
            channel.block.data(), channel.block.size() / static_cast<size_t>(channel.decoder->Channels()));
        if (channel.blockFrames == 0) {
            // Modules loop by themselves; a stream starts over.
            if (!channel.looping || channel.module || !channel.decoder->Rewind())
                return false;
            channel.blockFrames = channel.decoder->Read(channel.block.data(),
                                                        channel.block.size() /
                                                            static_cast<size_t>(channel.decoder->Channels()));
        }
    }
    return false;
}

void DecoderMusicEngine::Prime(Channel& channel)
{
    channel.blockFrames = 0;
    channel.blockPosition = 0;
    channel.fraction = 0.0;
    channel.primed = true;
    if (!Fetch(channel, channel.current[0], channel.current[1])) {
        channel.hasNext = false;
        channel.current[0] = channel.current[1] = 0.0f;
        channel.finished = true;
        return;
    }
    channel.hasNext = Fetch(channel, channel.next[0], channel.next[1]);
}

void DecoderMusicEngine::MixChannel(Channel& channel, float* stereo, size_t frames)
{
    if (!channel.primed)
        Prime(channel);
    if (channel.finished) {
        channel.state = kStopped;
        return;
    }
    const float gain = channel.volume * channel.amplify * (channel.module ? m_moduleGain : m_streamGain);
    for (size_t f = 0; f < frames; ++f) {
        const auto t = static_cast<float>(channel.fraction);
        for (int side = 0; side < 2; ++side) {
            const float a = channel.current[side];
            const float b = channel.hasNext ? channel.next[side] : a;
            stereo[2 * f + side] += (a + (b - a) * t) * gain;
        }
        channel.fraction += channel.step;
        while (channel.fraction >= 1.0) {
            channel.fraction -= 1.0;
            if (!channel.hasNext) {
                channel.finished = true;
                channel.state = kStopped;
                return;
            }
            channel.current[0] = channel.next[0];
            channel.current[1] = channel.next[1];
            channel.hasNext = Fetch(channel, channel.next[0], channel.next[1]);
        }
    }
}

void DecoderMusicEngine::MixInto(float* stereo, size_t frames)
{
    for (auto& [handle, channel] : m_channels) {
        if (channel->state == kPlaying)
            MixChannel(*channel, stereo, frames);
    }
}
