#include "resources/PakInterface.h"

#include "resources/PakFile.h"

#include <algorithm>
#include <atomic>
#include <filesystem>

namespace {

std::atomic<PakInterface*> gPakInterface{nullptr};

bool IsFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::string UnderRoot(const std::string& root, const std::string& path)
{
    return root.empty() || root.back() == '/' ? root + path : root + "/" + path;
}

// Whether the file, its links followed, lies inside the folder, its links followed. A path that cannot be
// followed to its end counts as outside.
bool LiesWithin(const std::string& folder, const std::string& file)
{
    std::error_code error;
    const std::filesystem::path base = std::filesystem::canonical(folder.empty() ? "." : folder, error);
    if (error)
        return false;
    const std::filesystem::path real = std::filesystem::canonical(file, error);
    if (error)
        return false;
    return std::mismatch(base.begin(), base.end(), real.begin(), real.end()).first == base.end();
}

} // namespace

std::string NormalizePakPath(const std::string& name)
{
    std::string path = name;
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return path;
}

bool PakInterface::AddPakFile(const std::string& fileName)
{
    (void)fileName;
    return false;
}

void PakInterface::AddSearchRoot(const std::string& folder)
{
    std::lock_guard lock(m_mutex);
    m_searchRoots.push_back(NormalizePakPath(folder));
}

void PakInterface::ClearSearchRoots()
{
    std::lock_guard lock(m_mutex);
    m_searchRoots.clear();
}

std::vector<std::string> PakInterface::GetSearchRoots() const
{
    std::lock_guard lock(m_mutex);
    return m_searchRoots;
}

std::string PakInterface::FindFile(const std::string& name) const
{
    std::string path = NormalizePakPath(name);
    if (path.empty()) {
        return {};
    }
    // Loose files: the working directory, then the extra roots.
    if (IsFile(path)) {
        return path;
    }
    if (path.front() != '/') {
        for (const std::string& root : GetSearchRoots()) {
            std::string candidate = UnderRoot(root, path);
            if (IsFile(candidate)) {
                return candidate;
            }
        }
    }
    // No archive can hold files, and the operating system's path is the loose path already tried.
    return {};
}

bool PakInterface::LeavesItsFolder(const std::string& name) const
{
    const std::string path = NormalizePakPath(name);
    if (path.empty())
        return false;
    // The folders in the order FindFile looks in them.
    if (IsFile(path))
        return !LiesWithin(".", path);
    if (path.front() == '/')
        return false;
    for (const std::string& root : GetSearchRoots()) {
        const std::string candidate = UnderRoot(root, path);
        if (IsFile(candidate))
            return !LiesWithin(root, candidate);
    }
    return false;
}

bool PakInterface::HasFolder(const std::string& name) const
{
    const std::string path = NormalizePakPath(name);
    if (path.empty())
        return false;
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return true;
    if (path.front() == '/')
        return false;
    for (const std::string& root : GetSearchRoots()) {
        const std::string candidate = UnderRoot(root, path);
        if (std::filesystem::is_directory(candidate, error))
            return true;
    }
    return false;
}

PakFile* PakInterface::Open(const std::string& name, const char* mode) const
{
    (void)mode;
    std::string path = FindFile(name);
    return path.empty() ? nullptr : PakOpenSystemFile(path);
}

void SetPakInterface(PakInterface* pakInterface)
{
    gPakInterface.store(pakInterface);
}

PakInterface* GetPakInterface()
{
    return gPakInterface.load();
}

bool PakFileLeavesItsFolder(const std::string& name)
{
    if (const PakInterface* pak = GetPakInterface())
        return pak->LeavesItsFolder(name);
    return PakInterface().LeavesItsFolder(name);
}
