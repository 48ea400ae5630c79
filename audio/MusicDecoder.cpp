#include "audio/MusicDecoder.h"

#include "audio/SoundFiles.h"

#include <mpg123.h>
#include <tremor/ivorbisfile.h>
#include <xmp.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

struct Cursor
{
    MusicDecoder::Bytes bytes;
    size_t position{0};

    size_t Read(void* buffer, size_t length)
    {
        length = std::min(length, bytes->size() - position);
        if (length == 0)
            return 0;
        std::memcpy(buffer, bytes->data() + position, length);
        position += length;
        return length;
    }
    int64_t Seek(int64_t offset, int whence)
    {
        int64_t base = whence == SEEK_SET   ? 0
                       : whence == SEEK_CUR ? static_cast<int64_t>(position)
                                            : static_cast<int64_t>(bytes->size());
        int64_t target = base + offset;
        if (target < 0 || target > static_cast<int64_t>(bytes->size()))
            return -1;
        position = static_cast<size_t>(target);
        return target;
    }
};

class OggDecoder : public MusicDecoder
{
public:
    explicit OggDecoder(Bytes bytes) : m_cursor{std::move(bytes)} {}
    ~OggDecoder() override
    {
        if (m_open)
            ov_clear(&m_vorbis);
    }

    bool Open()
    {
        ov_callbacks callbacks{
            [](void* buffer, size_t size, size_t count, void* source) -> size_t {
                return size == 0 ? 0 : static_cast<Cursor*>(source)->Read(buffer, size * count) / size;
            },
            [](void* source, ogg_int64_t offset, int whence) -> int {
                return static_cast<Cursor*>(source)->Seek(offset, whence) < 0 ? -1 : 0;
            },
            nullptr,
            [](void* source) -> long { return static_cast<long>(static_cast<Cursor*>(source)->position); },
        };
        if (ov_open_callbacks(&m_cursor, &m_vorbis, nullptr, 0, callbacks) < 0)
            return false;
        m_open = true;
        vorbis_info* info = ov_info(&m_vorbis, -1);
        if (!info || info->channels < 1 || info->channels > 2 || info->rate < 1000 || info->rate > 192000)
            return false;
        m_channels = info->channels;
        m_rate = static_cast<int>(info->rate);
        return true;
    }

    int Channels() const override { return m_channels; }
    int SampleRate() const override { return m_rate; }

    size_t Read(int16_t* out, size_t frames) override
    {
        const size_t block = 2 * static_cast<size_t>(m_channels);
        size_t wanted = frames * block;
        size_t got = 0;
        int holes = 0;
        while (got < wanted) {
            int section = 0;
            long n = ov_read(&m_vorbis, reinterpret_cast<char*>(out) + got, static_cast<int>(wanted - got),
                             &section);
            if (n == OV_HOLE && ++holes < 16)
                continue;
            if (n <= 0)
                break;
            vorbis_info* info = ov_info(&m_vorbis, section);
            if (!info || info->channels != m_channels)
                break;
            got += static_cast<size_t>(n);
        }
        return got / block;
    }

    bool Rewind() override { return ov_pcm_seek(&m_vorbis, 0) == 0; }
    bool SeekFrame(uint64_t frame) override
    {
        return ov_pcm_seek(&m_vorbis, static_cast<ogg_int64_t>(frame)) == 0;
    }

private:
    Cursor m_cursor;
    OggVorbis_File m_vorbis{};
    bool m_open{false};
    int m_channels{2};
    int m_rate{44100};
};

class Mp3Decoder : public MusicDecoder
{
public:
    explicit Mp3Decoder(Bytes bytes) : m_cursor{std::move(bytes)} {}
    ~Mp3Decoder() override
    {
        if (m_handle) {
            mpg123_close(m_handle);
            mpg123_delete(m_handle);
        }
    }

    bool Open()
    {
        m_handle = mpg123_new(nullptr, nullptr);
        if (!m_handle)
            return false;
        // Added, not set: setting the flags would drop gapless decoding.
        mpg123_param(m_handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
        mpg123_format_none(m_handle);
        const long* rates = nullptr;
        size_t count = 0;
        mpg123_rates(&rates, &count);
        for (size_t i = 0; i < count; ++i)
            mpg123_format(m_handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
        auto read = [](void* source, void* buffer, size_t length) -> mpg123_ssize_t {
            return static_cast<mpg123_ssize_t>(static_cast<Cursor*>(source)->Read(buffer, length));
        };
        auto seek = [](void* source, off_t offset, int whence) -> off_t {
            return static_cast<off_t>(static_cast<Cursor*>(source)->Seek(offset, whence));
        };
        if (mpg123_replace_reader_handle(m_handle, read, seek, nullptr) != MPG123_OK ||
            mpg123_open_handle(m_handle, &m_cursor) != MPG123_OK)
            return false;
        long rate = 0;
        int channels = 0, encoding = 0;
        if (mpg123_getformat(m_handle, &rate, &channels, &encoding) != MPG123_OK ||
            encoding != MPG123_ENC_SIGNED_16 || channels < 1 || channels > 2)
            return false;
        m_rate = static_cast<int>(rate);
        m_channels = channels;
        return true;
    }

    int Channels() const override { return m_channels; }
    int SampleRate() const override { return m_rate; }

    size_t Read(int16_t* out, size_t frames) override
    {
        const size_t block = 2 * static_cast<size_t>(m_channels);
        size_t wanted = frames * block;
        size_t got = 0;
        while (got < wanted) {
            size_t done = 0;
            int result =
                mpg123_read(m_handle, reinterpret_cast<unsigned char*>(out) + got, wanted - got, &done);
            got += done;
            if (result == MPG123_NEW_FORMAT) {
                long rate = 0;
                int channels = 0, encoding = 0;
                mpg123_getformat(m_handle, &rate, &channels, &encoding);
                if (channels != m_channels || rate != m_rate)
                    break;
                continue;
            }
            if (result != MPG123_OK || done == 0)
                break;
        }
        return got / block;
    }

    bool Rewind() override { return mpg123_seek(m_handle, 0, SEEK_SET) >= 0; }
    bool SeekFrame(uint64_t frame) override
    {
        return mpg123_seek(m_handle, static_cast<off_t>(frame), SEEK_SET) >= 0;
    }

private:
    Cursor m_cursor;
    mpg123_handle* m_handle{nullptr};
    int m_channels{2};
    int m_rate{44100};
};

class WavDecoder : public MusicDecoder
{
public:
    explicit WavDecoder(PcmSound sound) : m_sound(std::move(sound)) {}

    int Channels() const override { return m_sound.channels; }
    int SampleRate() const override { return m_sound.samplesPerSecond; }

    size_t Read(int16_t* out, size_t frames) override
    {
        const size_t count = std::min(frames, m_sound.FrameCount() - m_frame);
        const size_t samples = count * static_cast<size_t>(m_sound.channels);
        const size_t first = m_frame * static_cast<size_t>(m_sound.channels);
        const uint8_t* data = m_sound.data.data();
        for (size_t i = 0; i < samples; ++i) {
            size_t s = first + i;
            out[i] = m_sound.bitsPerSample == 16
                         ? static_cast<int16_t>(static_cast<uint16_t>(data[2 * s] | (data[2 * s + 1] << 8)))
                         : static_cast<int16_t>((data[s] - 128) * 256);
        }
        m_frame += count;
        return count;
    }

    bool Rewind() override { return SeekFrame(0); }
    bool SeekFrame(uint64_t frame) override
    {
        m_frame = static_cast<size_t>(std::min<uint64_t>(frame, m_sound.FrameCount()));
        return true;
    }

private:
    PcmSound m_sound;
    size_t m_frame{0};
};

class ModuleDecoder : public MusicDecoder
{
public:
    explicit ModuleDecoder(Bytes bytes) : m_bytes(std::move(bytes)) {}
    ~ModuleDecoder() override
    {
        if (m_context) {
            if (m_started)
                xmp_end_player(m_context);
            if (m_loaded)
                xmp_release_module(m_context);
            xmp_free_context(m_context);
        }
    }

    bool Open()
    {
        m_context = xmp_create_context();
        if (!m_context)
            return false;
        if (xmp_load_module_from_memory(m_context, m_bytes->data(), static_cast<long>(m_bytes->size())) != 0)
            return false;
        m_loaded = true;
        return Rewind();
    }

    int Channels() const override { return 2; }
    int SampleRate() const override { return 44100; }

    size_t Read(int16_t* out, size_t frames) override
    {
        size_t got = 0;
        while (got < frames) {
            if (m_pending == m_frame.size()) {
                if (m_ended || xmp_play_frame(m_context) != 0) {
                    m_ended = true;
                    break;
                }
                xmp_frame_info info;
                xmp_get_frame_info(m_context, &info);
                if (info.loop_count > 0 && !m_looping) {
                    m_ended = true;
                    break;
                }
                const auto* samples = static_cast<const int16_t*>(info.buffer);
                m_frame.assign(samples, samples + info.buffer_size / 2);
                m_pending = 0;
            }
            size_t count = std::min((m_frame.size() - m_pending) / 2, frames - got);
            std::copy_n(m_frame.begin() + static_cast<std::ptrdiff_t>(m_pending), count * 2, out + got * 2);
            m_pending += count * 2;
            got += count;
        }
        return got;
    }

    bool Rewind() override { return SetOrder(0); }
    bool SeekFrame(uint64_t) override { return Rewind(); }

    bool SetOrder(int order) override
    {
        if (m_started)
            xmp_end_player(m_context);
        m_started = xmp_start_player(m_context, 44100, 0) == 0;
        m_frame.clear();
        m_pending = 0;
        m_ended = !m_started;
        if (m_started && order > 0)
            xmp_set_position(m_context, order);
        return m_started;
    }

    void SetLooping(bool looping) override { m_looping = looping; }

private:
    Bytes m_bytes;
    xmp_context m_context{nullptr};
    bool m_loaded{false};
    bool m_started{false};
    bool m_ended{false};
    bool m_looping{false};
    std::vector<int16_t> m_frame;
    size_t m_pending{0};
};

} // namespace

std::unique_ptr<MusicDecoder> MusicDecoder::CreateStream(Bytes file)
{
    if (!file || file->size() < 4)
        return nullptr;
    if (std::memcmp(file->data(), "OggS", 4) == 0) {
        auto decoder = std::make_unique<OggDecoder>(file);
        return decoder->Open() ? std::move(decoder) : nullptr;
    }
    if (std::memcmp(file->data(), "RIFF", 4) == 0) {
        PcmSound sound;
        if (!ParseWav(*file, sound))
            return nullptr;
        return std::make_unique<WavDecoder>(std::move(sound));
    }
    auto decoder = std::make_unique<Mp3Decoder>(file);
    return decoder->Open() ? std::move(decoder) : nullptr;
}

std::unique_ptr<MusicDecoder> MusicDecoder::CreateModule(Bytes file)
{
    if (!file || file->empty())
        return nullptr;
    auto decoder = std::make_unique<ModuleDecoder>(file);
    return decoder->Open() ? std::move(decoder) : nullptr;
}
