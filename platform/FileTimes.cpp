#include "platform/FileTimes.h"

#include <sys/stat.h>

bool GetFileStamp(const std::string& path, FileStamp& stamp)
{
    stamp = FileStamp{};
    struct stat info = {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    stamp.seconds = info.st_mtim.tv_sec;
    stamp.nanoseconds = static_cast<int32_t>(info.st_mtim.tv_nsec);
    stamp.size = static_cast<uint64_t>(info.st_size);
    return true;
}
