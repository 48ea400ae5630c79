#pragma once

#include "audio/SoundFiles.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

// Builders of small sound files and a temporary folder to hold them.
namespace audiotest {

inline void PutLe16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void PutLe32(std::vector<uint8_t>& out, uint32_t v)
{
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}
inline void PutBe32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

// A RIFF WAVE file from raw chunks.
class WavBuilder
{
public:
    WavBuilder& Chunk(const std::string& id, const std::vector<uint8_t>& content,
                      uint32_t declaredSize = UINT32_MAX)
    {
        m_body.insert(m_body.end(), id.begin(), id.end());
        PutLe32(m_body, declaredSize == UINT32_MAX ? static_cast<uint32_t>(content.size()) : declaredSize);
        m_body.insert(m_body.end(), content.begin(), content.end());
        return *this;
    }
    WavBuilder& Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits)
    {
        std::vector<uint8_t> fmt;
        PutLe16(fmt, tag);
        PutLe16(fmt, channels);
        PutLe32(fmt, rate);
        PutLe32(fmt, rate * channels * bits / 8);
        PutLe16(fmt, channels * bits / 8);
        PutLe16(fmt, bits);
        return Chunk("fmt ", fmt);
    }
    std::vector<uint8_t> Build() const
    {
        std::vector<uint8_t> file{'R', 'I', 'F', 'F'};
        PutLe32(file, static_cast<uint32_t>(m_body.size() + 4));
        file.insert(file.end(), {'W', 'A', 'V', 'E'});
        file.insert(file.end(), m_body.begin(), m_body.end());
        return file;
    }

private:
    std::vector<uint8_t> m_body;
};

inline std::vector<uint8_t> Samples16(const std::vector<int16_t>& samples)
{
    std::vector<uint8_t> bytes;
    for (int16_t s : samples)
        PutLe16(bytes, static_cast<uint16_t>(s));
    return bytes;
}

// A plain 16-bit WAV file.
inline std::vector<uint8_t> WavFile(uint16_t channels, uint32_t rate, const std::vector<int16_t>& samples)
{
    return WavBuilder().Format(1, channels, rate, 16).Chunk("data", Samples16(samples)).Build();
}

inline std::vector<uint8_t> AuFile(uint32_t encoding, uint32_t rate, uint32_t channels,
                                   const std::vector<uint8_t>& data, uint32_t declaredSize = UINT32_MAX - 1)
{
    std::vector<uint8_t> file{'.', 's', 'n', 'd'};
    PutBe32(file, 24);
    PutBe32(file, declaredSize == UINT32_MAX - 1 ? static_cast<uint32_t>(data.size()) : declaredSize);
    PutBe32(file, encoding);
    PutBe32(file, rate);
    PutBe32(file, channels);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

inline int16_t SampleAt(const PcmSound& sound, size_t index)
{
    return static_cast<int16_t>(
        static_cast<uint16_t>(sound.data[2 * index] | (sound.data[2 * index + 1] << 8)));
}

inline void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline std::string TestDataPath(const std::string& name)
{
    return std::string(TARNVALE_TEST_DATA_DIR) + "/audio/" + name;
}

// A fresh folder, removed with everything in it at the end.
class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarnvale-audio-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
    }
    ~TempFolder() { std::filesystem::remove_all(m_path); }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace audiotest
