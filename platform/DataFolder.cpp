#include "platform/DataFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace {

std::string WithSlash(std::string path)
{
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string HomeFolder()
{
    std::string home = Environment("HOME");
    if (!home.empty()) {
        return home;
    }
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) {
        return entry->pw_dir;
    }
    return "/tmp";
}

} // namespace

std::string FindDataFolder(const std::string& company, const std::string& product)
{
    std::string overridden = Environment("TARNVALE_DATA_DIR");
    if (!overridden.empty()) {
        return WithSlash(overridden);
    }
    // Relative values of XDG_DATA_HOME are invalid and ignored, as the base directory rules say.
    std::string base = Environment("XDG_DATA_HOME");
    if (base.empty() || base.front() != '/') {
        base = WithSlash(HomeFolder()) + ".local/share";
    }
    return WithSlash(base) + company + "/" + product + "/";
}
