#include "platform/DataFolder.h"

#include "base/Common.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>

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

std::mutex g_folderMutex;

// A relative folder is resolved against the working directory of the first time it is asked for, and
// stays so: a later change of directory (-changedir) must not move where the game reads and writes.
std::string Absolute(const std::string& folder)
{
    if (folder.empty() || folder.front() == '/') {
        return folder;
    }
    // Each relative folder met, and the absolute one it was resolved to then.
    static std::map<std::string, std::string> resolved;
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    auto found = resolved.find(folder);
    if (found != resolved.end()) {
        return found->second;
    }
    std::error_code error;
    const std::filesystem::path start = std::filesystem::current_path(error);
    if (error) {
        return folder;
    }
    const std::string absolute = WithSlash((start / folder).lexically_normal().string());
    resolved.emplace(folder, absolute);
    return absolute;
}

std::wstring g_company = L"Ostrel";
std::wstring g_product = L"Tarnvale 6";

} // namespace

std::string FindDataFolder(const std::string& company, const std::string& product)
{
    std::string overridden = Environment("TARNVALE_DATA_DIR");
    if (!overridden.empty()) {
        return Absolute(WithSlash(overridden));
    }
    // Relative values of XDG_DATA_HOME are invalid and ignored, as the base directory rules say.
    std::string base = Environment("XDG_DATA_HOME");
    if (base.empty() || base.front() != '/') {
        base = Absolute(WithSlash(HomeFolder())) + ".local/share";
    }
    return WithSlash(base) + company + "/" + product + "/";
}

void InitAppDataFolder(const std::wstring& company, const std::wstring& product)
{
    // Empty words would put the files straight into the user's data home.
    if (company.empty() || product.empty()) {
        return;
    }
    std::lock_guard lock(g_folderMutex);
    g_company = company;
    g_product = product;
}

std::string GetAppDataFolder()
{
    // The sound cache asks for every sound: create the folder once, not on every call.
    static std::string created;
    std::lock_guard lock(g_folderMutex);
    std::string folder = FindDataFolder(WStringToString(g_company), WStringToString(g_product));
    if (folder != created && MakeDirectories(folder)) {
        created = folder;
    }
    return folder;
}
