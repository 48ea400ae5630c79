#pragma once

#include <cstdint>
#include <string>

// What the sound cache compares to decide whether a cached file is stale.
struct FileStamp
{
    // Modification time since 1970-01-01 UTC.
    int64_t seconds = 0;
    int32_t nanoseconds = 0;
    uint64_t size = 0;
};

// False (and the stamp left zero) when the path names no readable regular file.
bool GetFileStamp(const std::string& path, FileStamp& stamp);
