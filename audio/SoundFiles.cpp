#include "audio/SoundFiles.h"

#include "base/AtomicFile.h"
#include "base/Common.h"
#include "platform/DataFolder.h"
#include "platform/FileTimes.h"
#include "resources/PakFile.h"

#include <tremor/ivorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Seconds between 1601-01-01 and 1970-01-01.
constexpr uint64_t kEpochDifference = 11644473600ull;
// A decoded sound larger than this is refused rather than allocated.
constexpr uint64_t kMaxDecodedBytes = 256ull << 20;
constexpr char kStampChunk[] = "srcs";

bool SaneFormat(uint64_t channels, uint64_t samplesPerSecond, uint64_t bitsPerSample)
{
    return (channels == 1 || channels == 2) && (bitsPerSample == 8 || bitsPerSample == 16) &&
           samplesPerSecond >= 1000 && samplesPerSecond <= 192000;
}

uint16_t Le16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Le32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint32_t Be32(const uint8_t* p)
{
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}
uint64_t Le64(const uint8_t* p)
{
    return Le32(p) | (static_cast<uint64_t>(Le32(p + 4)) << 32);
}

void PutLe16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}
void PutLe32(std::vector<uint8_t>& out, uint32_t value)
{
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}
void PutTag(std::vector<uint8_t>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

std::string ForwardSlashes(std::string name)
{
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

// Reads the chunks of a WAV file; dataEnd receives the offset just past the
// sample data.
bool ParseWavChunks(const std::vector<uint8_t>& file, PcmSound& sound, uint64_t& dataEnd)
{
    const uint64_t size = file.size();
    const uint8_t* bytes = file.data();
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return false;
    uint64_t channels = 1, samplesPerSecond = 22050, bitsPerSample = 16;
    uint8_t key = 0;
    uint64_t position = 12;
    for (;;) {
        if (position + 8 > size)
            return false;
        const uint8_t* chunk = bytes + position;
        const uint64_t chunkSize = Le32(chunk + 4);
        const uint64_t body = position + 8;
        const uint8_t* content = bytes + body;
        const uint64_t available = size - body;
        if (std::memcmp(chunk, "data", 4) == 0) {
            if (chunkSize > available)
                return false;
            if (!SaneFormat(channels, samplesPerSecond, bitsPerSample))
                return false;
            const uint64_t block = channels * bitsPerSample / 8;
            const uint64_t usable = chunkSize - chunkSize % block;
            if (usable == 0)
                return false;
            PcmSound result;
            result.channels = static_cast<int>(channels);
            result.samplesPerSecond = static_cast<int>(samplesPerSecond);
            result.bitsPerSample = static_cast<int>(bitsPerSample);
            result.data.assign(content, content + usable);
            if (key != 0) {
                for (uint8_t& b : result.data)
                    b ^= key;
            }
            sound = std::move(result);
            dataEnd = body + chunkSize;
            return true;
        }
        if (chunkSize > available)
            return false;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (chunkSize < 16 || Le16(content) != 1)
                return false;
            channels = Le16(content + 2);
            samplesPerSecond = Le32(content + 4);
            bitsPerSample = Le16(content + 14);
        } else if (std::memcmp(chunk, "dep ", 4) == 0) {
            if (chunkSize < 2)
                return false;
            const uint64_t length = Le16(content);
            if (length > 255 || 2 + length + 8 > chunkSize)
                return false;
            std::string source(reinterpret_cast<const char*>(content + 2), length);
            const uint64_t recorded = Le64(content + 2 + length);
            uint64_t current = 0;
            if (!GetSourceFileTime(source, current))
                current = 0;
            if (recorded != current)
                return false;
        } else if (std::memcmp(chunk, "xor ", 4) == 0) {
            if (chunkSize < 1)
                return false;
            key = content[0];
        }
        position = body + chunkSize;
        if (position >= size)
            return false;
    }
}

// Continues the mu-law table's last row through 0x80, the loudest code.
int MuLawMagnitude(int c)
{
    if (c >= 0xF0)
        return (255 - c) * 2;
    if (c >= 0xE0)
        return (247 - c) * 4;
    if (c >= 0xD0)
        return (235 - c) * 8;
    if (c >= 0xC0)
        return (221 - c) * 16;
    if (c >= 0xB0)
        return (206 - c) * 32;
    if (c >= 0xA0)
        return 12192 - 64 * c;
    if (c >= 0x90)
        return 22368 - 128 * c;
    return 40672 - 256 * c;
}

struct MemoryCursor
{
    const std::vector<uint8_t>* bytes;
    size_t position;
};

size_t CursorRead(void* buffer, size_t size, size_t count, void* source)
{
    auto* cursor = static_cast<MemoryCursor*>(source);
    if (size == 0)
        return 0;
    size_t items = std::min(count, (cursor->bytes->size() - cursor->position) / size);
    // An empty file has no data pointer at all; memcpy must not see it even for zero bytes.
    if (items == 0)
        return 0;
    std::memcpy(buffer, cursor->bytes->data() + cursor->position, items * size);
    cursor->position += items * size;
    return items;
}

int CursorSeek(void* source, ogg_int64_t offset, int whence)
{
    auto* cursor = static_cast<MemoryCursor*>(source);
    int64_t base = whence == SEEK_SET   ? 0
                   : whence == SEEK_CUR ? static_cast<int64_t>(cursor->position)
                                        : static_cast<int64_t>(cursor->bytes->size());
    int64_t target = base + offset;
    if (target < 0 || target > static_cast<int64_t>(cursor->bytes->size()))
        return -1;
    cursor->position = static_cast<size_t>(target);
    return 0;
}

long CursorTell(void* source)
{
    return static_cast<long>(static_cast<MemoryCursor*>(source)->position);
}

} // namespace

bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& bytes)
{
    std::string content;
    bytes.clear();
    if (!PakReadWholeFile(name, content))
        return false;
    bytes.assign(content.begin(), content.end());
    return true;
}

bool ParseWav(const std::vector<uint8_t>& file, PcmSound& sound)
{
    uint64_t dataEnd = 0;
    return ParseWavChunks(file, sound, dataEnd);
}

bool ParseAu(const std::vector<uint8_t>& file, PcmSound& sound)
{
    const uint64_t size = file.size();
    const uint8_t* bytes = file.data();
    if (size < 24 || std::memcmp(bytes, ".snd", 4) != 0)
        return false;
    const uint64_t offset = Be32(bytes + 4);
    uint64_t dataSize = Be32(bytes + 8);
    const uint32_t encoding = Be32(bytes + 12);
    const uint64_t samplesPerSecond = Be32(bytes + 16);
    const uint64_t channels = Be32(bytes + 20);
    if (offset < 24 || offset > size)
        return false;
    // All ones is the format's "size unknown": the data run to the end.
    if (dataSize == 0xFFFFFFFFu)
        dataSize = size - offset;
    else if (dataSize > size - offset)
        return false;
    if (encoding != 1 && encoding != 2)
        return false;
    const uint64_t bitsPerSample = encoding == 1 ? 16 : 8;
    if (!SaneFormat(channels, samplesPerSecond, bitsPerSample))
        return false;
    dataSize -= dataSize % channels;
    if (dataSize == 0)
        return false;
    const uint8_t* data = bytes + offset;
    PcmSound result;
    result.channels = static_cast<int>(channels);
    result.samplesPerSecond = static_cast<int>(samplesPerSecond);
    result.bitsPerSample = static_cast<int>(bitsPerSample);
    if (encoding == 1) {
        result.data.resize(dataSize * 2);
        for (uint64_t i = 0; i < dataSize; ++i) {
            const int b = data[i];
            const int sign = b >= 0x80 ? 1 : -1;
            const auto sample = static_cast<int16_t>(MuLawMagnitude(b | 0x80) * sign * 4);
            result.data[2 * i] = static_cast<uint8_t>(sample & 0xFF);
            result.data[2 * i + 1] = static_cast<uint8_t>((sample >> 8) & 0xFF);
        }
    } else {
        // Stored signed; our 8-bit samples are unsigned.
        result.data.resize(dataSize);
        for (uint64_t i = 0; i < dataSize; ++i)
            result.data[i] = static_cast<uint8_t>(data[i] ^ 0x80);
    }
    sound = std::move(result);
    return true;
}

bool DecodeOgg(const std::vector<uint8_t>& file, PcmSound& sound)
{
    MemoryCursor cursor{&file, 0};
    ov_callbacks callbacks{CursorRead, CursorSeek, nullptr, CursorTell};
    OggVorbis_File vorbis;
    if (ov_open_callbacks(&cursor, &vorbis, nullptr, 0, callbacks) < 0)
        return false;
    PcmSound result;
    bool ok = false;
    if (vorbis_info* info = ov_info(&vorbis, -1); info && SaneFormat(info->channels, info->rate, 16)) {
        result.channels = info->channels;
        result.samplesPerSecond = static_cast<int>(info->rate);
        result.bitsPerSample = 16;
        const ogg_int64_t total = ov_pcm_total(&vorbis, -1);
        const uint64_t block = 2ull * result.channels;
        if (total > 0 && static_cast<uint64_t>(total) * block <= kMaxDecodedBytes)
            result.data.reserve(static_cast<size_t>(total) * block);
        std::vector<char> chunk(8192);
        for (;;) {
            int section = 0;
            long n = ov_read(&vorbis, chunk.data(), static_cast<int>(chunk.size()), &section);
            if (n == 0) {
                ok = true;
                break;
            }
            vorbis_info* current = ov_info(&vorbis, section);
            if (n < 0 || !current || current->channels != result.channels ||
                current->rate != result.samplesPerSecond ||
                result.data.size() + static_cast<size_t>(n) > kMaxDecodedBytes)
                break;
            result.data.insert(result.data.end(), chunk.begin(), chunk.begin() + n);
        }
        result.data.resize(result.data.size() - result.data.size() % block);
        ok = ok && !result.data.empty();
    }
    ov_clear(&vorbis);
    if (ok)
        sound = std::move(result);
    return ok;
}

bool ReadWavFile(const std::string& name, PcmSound& sound)
{
    std::vector<uint8_t> bytes;
    return ReadWholeFile(name, bytes) && ParseWav(bytes, sound);
}

bool ReadOggFile(const std::string& name, PcmSound& sound)
{
    std::vector<uint8_t> bytes;
    return ReadWholeFile(name, bytes) && DecodeOgg(bytes, sound);
}

bool ReadAuFile(const std::string& name, PcmSound& sound)
{
    std::vector<uint8_t> bytes;
    return ReadWholeFile(name, bytes) && ParseAu(bytes, sound);
}

std::string GetCachePath(const std::string& name)
{
    if (name.size() <= 2 || name[0] == '\\' || name[0] == '/' || name[1] == ':')
        return {};
    const std::string relative = ForwardSlashes(name);
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find('/', start);
        if (end == std::string::npos)
            end = relative.size();
        if (relative.compare(start, end - start, "..") == 0 && end - start == 2)
            return {};
        start = end + 1;
    }
    return GetAppDataFolder() + "cached/" + relative + ".wav";
}

bool ReadCacheWav(const std::string& cachePath, PcmSound& sound)
{
    std::vector<uint8_t> file;
    if (cachePath.empty() || !ReadWholeFile(cachePath, file))
        return false;
    return ParseCacheWav(file, sound);
}

bool ParseCacheWav(const std::vector<uint8_t>& file, PcmSound& sound)
{
    PcmSound result;
    uint64_t position = 0;
    if (!ParseWavChunks(file, result, position))
        return false;
    position += position % 2;
    if (position + 8 <= file.size() && std::memcmp(file.data() + position, kStampChunk, 4) == 0) {
        const uint64_t chunkSize = Le32(file.data() + position + 4);
        const uint8_t* content = file.data() + position + 8;
        if (chunkSize < 2 || chunkSize > file.size() - position - 8)
            return false;
        const uint64_t length = Le16(content);
        if (2 + length + 16 > chunkSize)
            return false;
        SourceStamp recorded{std::string(reinterpret_cast<const char*>(content + 2), length),
                             Le64(content + 2 + length), Le64(content + 10 + length)};
        SourceStamp current;
        // A source that is gone leaves the cache in use; a changed one makes it stale.
        if (GetSourceStamp(recorded.name, current) &&
            (current.size != recorded.size || current.time != recorded.time))
            return false;
    }
    sound = std::move(result);
    return true;
}

std::vector<uint8_t> MakeWavHeader(int channels, int samplesPerSecond, int bitsPerSample, uint32_t dataSize)
{
    const uint32_t blockAlign = static_cast<uint32_t>(channels * bitsPerSample / 8);
    std::vector<uint8_t> header;
    header.reserve(44);
    PutTag(header, "RIFF");
    PutLe32(header, dataSize + 36);
    PutTag(header, "WAVE");
    PutTag(header, "fmt ");
    PutLe32(header, 16);
    PutLe16(header, 1);
    PutLe16(header, static_cast<uint32_t>(channels));
    PutLe32(header, static_cast<uint32_t>(samplesPerSecond));
    PutLe32(header, blockAlign * static_cast<uint32_t>(samplesPerSecond));
    PutLe16(header, blockAlign);
    PutLe16(header, static_cast<uint32_t>(bitsPerSample));
    PutTag(header, "data");
    PutLe32(header, dataSize);
    return header;
}

bool WriteCacheWav(const PcmSound& sound, const std::string& cachePath, const SourceStamp& stamp)
{
    if (cachePath.empty() || sound.data.empty() || sound.data.size() > kMaxDecodedBytes ||
        stamp.name.size() > 0xFFFF)
        return false;
    const auto dataSize = static_cast<uint32_t>(sound.data.size());
    std::vector<uint8_t> file =
        MakeWavHeader(sound.channels, sound.samplesPerSecond, sound.bitsPerSample, dataSize);
    file.insert(file.end(), sound.data.begin(), sound.data.end());
    if (dataSize % 2 != 0)
        file.push_back(0);
    // The source stamp follows the data, so the header stays the canonical one.
    PutTag(file, kStampChunk);
    PutLe32(file, static_cast<uint32_t>(2 + stamp.name.size() + 16));
    PutLe16(file, static_cast<uint32_t>(stamp.name.size()));
    file.insert(file.end(), stamp.name.begin(), stamp.name.end());
    PutLe32(file, static_cast<uint32_t>(stamp.size));
    PutLe32(file, static_cast<uint32_t>(stamp.size >> 32));
    PutLe32(file, static_cast<uint32_t>(stamp.time));
    PutLe32(file, static_cast<uint32_t>(stamp.time >> 32));
    const uint32_t riffSize = static_cast<uint32_t>(file.size() - 8);
    file[4] = static_cast<uint8_t>(riffSize);
    file[5] = static_cast<uint8_t>(riffSize >> 8);
    file[6] = static_cast<uint8_t>(riffSize >> 16);
    file[7] = static_cast<uint8_t>(riffSize >> 24);
    return AtomicFile(cachePath).Write(
        std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
}

bool GetSourceStamp(const std::string& name, SourceStamp& stamp)
{
    PakFile* file = PakOpen(name, "rb");
    if (!file)
        return false;
    long size = PakSeek(file, 0, 2) == 0 ? PakTell(file) : -1;
    PakClose(file);
    if (size < 0)
        return false;
    stamp.name = ForwardSlashes(name);
    stamp.size = static_cast<uint64_t>(size);
    stamp.time = 0;
    GetSourceFileTime(name, stamp.time);
    return true;
}

bool GetSourceFileTime(const std::string& name, uint64_t& time)
{
    FileStamp stamp;
    if (!GetFileStamp(ForwardSlashes(name), stamp))
        return false;
    time = (static_cast<uint64_t>(stamp.seconds) + kEpochDifference) * 10000000ull +
           static_cast<uint64_t>(stamp.nanoseconds) / 100;
    return true;
}
