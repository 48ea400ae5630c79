#include "base/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

namespace {

bool WriteAll(int fd, std::string_view bytes)
{
    for (std::size_t written = 0; written < bytes.size();) {
        const ssize_t result = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result <= 0) {
            errno = result == 0 ? EIO : errno;
            return false;
        }
        written += static_cast<std::size_t>(result);
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

} // namespace

AtomicFile::AtomicFile(std::string path) : m_path(std::move(path)) {}

void AtomicFile::SetBeforeReplace(std::function<void()> beforeReplace)
{
    m_beforeReplace = std::move(beforeReplace);
}

void AtomicFile::SetWriteLimit(std::size_t bytes)
{
    m_writeLimit = bytes;
}

bool AtomicFile::Write(std::string_view bytes)
{
    m_error.clear();
    std::string temporary = m_path + kTemporarySuffix + "XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return Fail("cannot create a temporary file beside " + m_path, std::string());
    }
    int error = 0;
    if (::fchmod(fd, 0644) != 0) {
        error = errno;
    } else if (!WriteAll(fd, bytes.substr(0, std::min(bytes.size(), m_writeLimit)))) {
        error = errno != 0 ? errno : EIO;
    } else if (bytes.size() > m_writeLimit) {
        error = EIO;
    } else if (::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        errno = error;
        return Fail("writing " + temporary + " failed", temporary);
    }
    if (m_beforeReplace) {
        m_beforeReplace();
    }
    if (::rename(temporary.c_str(), m_path.c_str()) != 0) {
        return Fail("cannot replace " + m_path, temporary);
    }
    // The rename itself must reach the disk too.
    const int folder = ::open(FolderOf(m_path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

int AtomicFile::RemoveStaleTemporaries(const std::string& path, int minAgeSeconds)
{
    const std::string folder = FolderOf(path);
    const std::size_t slash = path.find_last_of('/');
    const std::string prefix = (slash == std::string::npos ? path : path.substr(slash + 1)) + kTemporarySuffix;
    // mkostemp's six characters follow the suffix.
    const std::size_t nameLength = prefix.size() + 6;
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) {
        return 0;
    }
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name.size() != nameLength || name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const std::string candidate = folder + "/" + name;
        struct stat info = {};
        if (::lstat(candidate.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            now - info.st_mtime < minAgeSeconds) {
            continue;
        }
        if (::unlink(candidate.c_str()) == 0) {
            ++removed;
        }
    }
    ::closedir(listing);
    return removed;
}

bool AtomicFile::Fail(const std::string& what, const std::string& temporary)
{
    m_error = what + ": " + std::strerror(errno);
    if (!temporary.empty()) {
        ::unlink(temporary.c_str());
    }
    return false;
}
