#pragma once

#include <cstddef>
#include <string>

// An open data file. Every reader of game data goes through these functions, so a file is found the
// same way everywhere: a loose file first, then the archive, then the operating system's path as given.
// Handles are independent: loader threads may read different files, or the same file, at once.
class PakFile;

// Opens a file for reading ("r" or "rb"; other modes are refused). Paths may use '\' or '/'.
// Null when the file cannot be found.
PakFile* PakOpen(const std::string& name, const char* mode = "rb");
// Closes the handle; a null handle is ignored. Returns 0.
int PakClose(PakFile* file);
// origin 0: from the start, 1: from the current position, 2: from the end. 0 on success, -1 when the
// origin is unknown or the position would fall before the start; the position is unchanged then.
int PakSeek(PakFile* file, long offset, int origin);
long PakTell(PakFile* file);
// Reads up to count items of size bytes; returns the number of whole items read.
size_t PakRead(void* buffer, size_t size, size_t count, PakFile* file);
// The next byte (0 to 255), or -1 at the end.
int PakGetc(PakFile* file);
// Pushes one byte back (one is guaranteed); returns it, or -1 when c is -1 or nothing can be pushed.
int PakUngetc(int c, PakFile* file);
// Reads one line into buffer, including its '\n', at most size - 1 bytes, and terminates it. Returns
// buffer, or null when nothing was read (at the end, or size < 1).
char* PakGets(char* buffer, int size, PakFile* file);
// Non-zero once a read has met the end of the file.
int PakEof(PakFile* file);

// Opens an operating-system path directly, bypassing the search (used by PakInterface).
PakFile* PakOpenSystemFile(const std::string& path);

// The most a data file read whole may hold: far above any file the game ships (the largest is a few
// megabytes), far below what would exhaust memory when a file is replaced by a huge or endless one.
constexpr std::size_t kMaxDataFileBytes = 64u * 1024 * 1024;

enum class PakReadResult
{
    Read,
    Missing,
    TooLarge
};

// The whole file as bytes, up to kMaxDataFileBytes; a larger file (or one that never ends, such as a
// device) is refused without reading it all. Bytes are emptied unless the result is Read.
PakReadResult PakReadFile(const std::string& name, std::string& bytes);
// The same as a bool: false when the file cannot be opened or is refused as too large; a refusal is
// logged with the file's name.
bool PakReadWholeFile(const std::string& name, std::string& bytes);
// The message for a data file refused as too large, in the data-file error style ("... in File '%s'").
std::string TooLargeDataFileMessage(const std::string& name);
