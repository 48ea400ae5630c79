#include "platform/sdl/SessionBus.h"

#include <cstdlib>

#include <sys/stat.h>

namespace {

bool IsSocket(const std::string& path)
{
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

} // namespace

bool SessionBus::IsReachable()
{
    // An empty address counts as none: D-Bus would start a bus for it too.
    const char* address = std::getenv(kAddressVariable);
    if (address != nullptr && *address != '\0')
        return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime != nullptr && *runtime != '\0' && IsSocket(std::string(runtime) + "/bus");
}

void SessionBus::KeepOffAnAbsentBus()
{
    if (!IsReachable())
        ::setenv(kAddressVariable, kNoBus, 1);
}
