#pragma once

#include <mutex>
#include <string>
#include <vector>

class PakFile;

// Finds data files: loose files (relative to the working directory, then to each extra root folder)
// come first, then the archives, then the name as an operating-system path. No archive format is
// defined for this game, so AddPakFile accepts nothing and the archive step never finds a file.
class PakInterface
{
public:
    PakInterface() = default;
    PakInterface(const PakInterface&) = delete;
    PakInterface& operator=(const PakInterface&) = delete;

    // Adds an archive. Always false: there is no archive reader; nothing changes.
    bool AddPakFile(const std::string& fileName);

    // Extra folders searched for loose files after the working directory, in the order added.
    void AddSearchRoot(const std::string& folder);
    void ClearSearchRoots();
    std::vector<std::string> GetSearchRoots() const;

    // The operating-system path the name resolves to, or empty when no file exists under it.
    std::string FindFile(const std::string& name) const;

    // Whether the loose file the name resolves to lies outside the folder it was found in (the working
    // directory or a root folder) once every symbolic link on its way is followed: a link among the data
    // to a file elsewhere. False when no file is found under the name.
    bool LeavesItsFolder(const std::string& name) const;

    // True when a folder of that name lies in the working directory or in a root folder.
    bool HasFolder(const std::string& name) const;

    PakFile* Open(const std::string& name, const char* mode) const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_searchRoots;
};

// The one interface the pak functions use; the application owns it. Without one, files are opened
// relative to the working directory.
void SetPakInterface(PakInterface* pakInterface);
PakInterface* GetPakInterface();

// LeavesItsFolder of the application's interface; without one, of the working directory.
bool PakFileLeavesItsFolder(const std::string& name);

// Turns every '\' into '/'.
std::string NormalizePakPath(const std::string& name);
