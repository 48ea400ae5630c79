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

// Links followed before a path counts as a loop, as the system's own limit.
constexpr int kMaxLinkHops = 40;

// The file the path names once every symbolic link in its place is followed (a link may lead to another,
// and the last target need not exist yet). False, with errno set, for a loop or an unreadable link.
bool FollowLinks(const std::string& path, std::string& file)
{
    file = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info = {};
        if (::lstat(file.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return true;
        }
        std::string target(static_cast<std::size_t>(info.st_size) + 1, '\0');
        const ssize_t length = ::readlink(file.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
            // The link changed while it was read: take it again.
            if (length > 0) {
                continue;
            }
            return false;
        }
        target.resize(static_cast<std::size_t>(length));
        file = target.front() == '/' ? target : FolderOf(file) + "/" + target;
    }
    errno = ELOOP;
    return false;
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

void AtomicFile::SetModeFrom(std::string original)
{
    m_modeFrom = std::move(original);
}

unsigned AtomicFile::ModeFor(const std::string& target) const
{
    struct stat info = {};
    const std::string& source = m_modeFrom.empty() ? target : m_modeFrom;
    if (::stat(source.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return kNewFileMode;
    }
    // The permission bits only: a saved file never takes on set-user-id or set-group-id.
    return info.st_mode & 0777;
}

bool AtomicFile::Write(std::string_view bytes)
{
    m_error.clear();
    // A link stays a link: the file it leads to is replaced, from a temporary file beside that file.
    std::string target;
    if (!FollowLinks(m_path, target)) {
        return Fail("cannot follow the link " + m_path, std::string());
    }
    std::string temporary = target + kTemporarySuffix + "XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return Fail("cannot create a temporary file beside " + m_path, std::string());
    }
    int error = 0;
    if (::fchmod(fd, ModeFor(target)) != 0) {
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
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        return Fail("cannot replace " + target, temporary);
    }
    // The rename itself must reach the disk too.
    const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

int AtomicFile::RemoveStaleTemporaries(const std::string& linkOrPath, int minAgeSeconds)
{
    // Temporaries lie beside the file a link leads to.
    std::string path;
    if (!FollowLinks(linkOrPath, path)) {
        return 0;
    }
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
