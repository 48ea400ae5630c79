#pragma once

#include "platform/SoundSystem.h"

#include <cstdint>
#include <string>
#include <vector>

// Readers and the cache writer of sound files. Every reader fills its output
// only when the whole sample was read; sizes read from files are checked
// against the bytes present.

// What a cached sound was decoded from: its name, size and modification time
// (100 ns units since 1601, 0 when unknown).
struct SourceStamp
{
    std::string name;
    uint64_t size{0};
    uint64_t time{0};
};

bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& bytes);

bool ParseWav(const std::vector<uint8_t>& file, PcmSound& sound);
bool ParseAu(const std::vector<uint8_t>& file, PcmSound& sound);
bool DecodeOgg(const std::vector<uint8_t>& file, PcmSound& sound);

bool ReadWavFile(const std::string& name, PcmSound& sound);
bool ReadOggFile(const std::string& name, PcmSound& sound);
bool ReadAuFile(const std::string& name, PcmSound& sound);

// The cache file of a sound name: "<data folder>cached/<name>.wav"; empty for
// names that must not be cached (absolute, too short, or leaving the folder).
std::string GetCachePath(const std::string& name);
// Reads a cache file; refused when it records a source that now differs.
bool ReadCacheWav(const std::string& cachePath, PcmSound& sound);
// The same from the cache file's bytes.
bool ParseCacheWav(const std::vector<uint8_t>& file, PcmSound& sound);
// Writes the canonical 44-byte header, the data and the source stamp, through
// a temporary file renamed into place.
bool WriteCacheWav(const PcmSound& sound, const std::string& cachePath, const SourceStamp& stamp);
// The stamp of a source file as it is now; false when it cannot be read.
bool GetSourceStamp(const std::string& name, SourceStamp& stamp);
// A loose file's modification time in 100 ns units since 1601; false when it
// does not exist.
bool GetSourceFileTime(const std::string& name, uint64_t& time);
// The 44-byte header of a canonical PCM WAV file.
std::vector<uint8_t> MakeWavHeader(int channels, int samplesPerSecond, int bitsPerSample, uint32_t dataSize);
