#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

// Replaces a file so that a crash at any moment leaves either the whole old file or the whole new one:
// the bytes go to a temporary file of a unique name in the same folder ("<name>.tmp-XXXXXX"), are synced
// to disk, renamed over the target, and the folder is synced. Two writers never mix their bytes. On any
// failure the temporary file is removed, the target stays as it was, and GetError says why.
// A path that is a symbolic link stays one: the file it leads to is replaced (its temporary file lies
// beside that file, so the rename never crosses file systems).
// The new file keeps the permissions of the file it replaces (a player's private 0600 stays private); a
// file made new gets kNewFileMode.
class AtomicFile
{
public:
    explicit AtomicFile(std::string path);

    // Runs once the new bytes are safely on disk, just before they replace the target (for example to
    // keep the old file as a backup).
    void SetBeforeReplace(std::function<void()> beforeReplace);
    // Stops after this many bytes and fails, as a crash would (for tests).
    void SetWriteLimit(std::size_t bytes);
    // The new file takes the permissions of this file instead, when it exists: a copy (a backup) is no
    // more open than its original.
    void SetModeFrom(std::string original);

    bool Write(std::string_view bytes);

    const std::string& GetPath() const { return m_path; }
    const std::string& GetError() const { return m_error; }

    static constexpr const char* kTemporarySuffix = ".tmp-";
    // Read and write for the player, read for others.
    static constexpr unsigned kNewFileMode = 0644;

    // Removes the temporary files a killed writer left beside path, or beside the file it links to
    // ("<name>.tmp-XXXXXX"), those older than minAgeSeconds, so a save that another process has in
    // progress is never touched. Returns how many were removed.
    static int RemoveStaleTemporaries(const std::string& path, int minAgeSeconds = 60);

private:
    bool Fail(const std::string& what, const std::string& temporary);

    unsigned ModeFor(const std::string& target) const;

    std::string m_path;
    std::string m_modeFrom;
    std::function<void()> m_beforeReplace;
    std::size_t m_writeLimit{std::numeric_limits<std::size_t>::max()};
    std::string m_error;
};
