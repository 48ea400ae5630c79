#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// A song decoded on demand from its file in memory, as interleaved signed
// 16-bit frames at its own rate.
class MusicDecoder
{
public:
    using Bytes = std::shared_ptr<const std::vector<uint8_t>>;

    virtual ~MusicDecoder() = default;

    virtual int Channels() const = 0;
    virtual int SampleRate() const = 0;
    // Frames decoded into out (room for frames x Channels()); 0 at the end.
    virtual size_t Read(int16_t* out, size_t frames) = 0;
    virtual bool Rewind() = 0;
    virtual bool SeekFrame(uint64_t frame) = 0;
    // Module music only: starts at an order of the song.
    virtual bool SetOrder(int) { return false; }
    // Module music only: a looping module follows its own loop points.
    virtual void SetLooping(bool) {}

    // Ogg Vorbis, mp3 or WAV, told apart by content; null when undecodable.
    static std::unique_ptr<MusicDecoder> CreateStream(Bytes file);
    // MOD, S3M, XM, IT and the other tracker formats; null when unreadable.
    static std::unique_ptr<MusicDecoder> CreateModule(Bytes file);
};
