#include "resources/PakFile.h"

#include "base/Common.h"
#include "base/LogWriter.h"
#include "resources/PakInterface.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

class PakFile
{
public:
    explicit PakFile(std::FILE* file) : m_file(file) {}
    ~PakFile() { std::fclose(m_file); }
    PakFile(const PakFile&) = delete;
    PakFile& operator=(const PakFile&) = delete;

    std::FILE* m_file;
};

PakFile* PakOpenSystemFile(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return nullptr;
    }
    return new PakFile(file);
}

namespace {

bool IsReadMode(const char* mode)
{
    if (!mode || mode[0] != 'r') {
        return false;
    }
    return std::strchr(mode, '+') == nullptr && std::strchr(mode, 'w') == nullptr &&
           std::strchr(mode, 'a') == nullptr;
}

} // namespace

PakFile* PakOpen(const std::string& name, const char* mode)
{
    if (!IsReadMode(mode) || name.empty()) {
        return nullptr;
    }
    if (PakInterface* pak = GetPakInterface()) {
        return pak->Open(name, mode);
    }
    return PakOpenSystemFile(NormalizePakPath(name));
}

int PakClose(PakFile* file)
{
    delete file;
    return 0;
}

int PakSeek(PakFile* file, long offset, int origin)
{
    if (!file) {
        return -1;
    }
    int whence = 0;
    switch (origin) {
    case 0:
        whence = SEEK_SET;
        break;
    case 1:
        whence = SEEK_CUR;
        break;
    case 2:
        whence = SEEK_END;
        break;
    default:
        return -1;
    }
    return std::fseek(file->m_file, offset, whence) == 0 ? 0 : -1;
}

long PakTell(PakFile* file)
{
    return file ? std::ftell(file->m_file) : -1;
}

size_t PakRead(void* buffer, size_t size, size_t count, PakFile* file)
{
    if (!file || !buffer || size == 0 || count == 0) {
        return 0;
    }
    return std::fread(buffer, size, count, file->m_file);
}

int PakGetc(PakFile* file)
{
    if (!file) {
        return -1;
    }
    int c = std::fgetc(file->m_file);
    return c == EOF ? -1 : c;
}

int PakUngetc(int c, PakFile* file)
{
    if (!file || c < 0) {
        return -1;
    }
    int result = std::ungetc(static_cast<unsigned char>(c), file->m_file);
    return result == EOF ? -1 : result;
}

char* PakGets(char* buffer, int size, PakFile* file)
{
    if (!buffer || size < 1) {
        return nullptr;
    }
    buffer[0] = '\0';
    if (!file || size == 1) {
        return nullptr;
    }
    return std::fgets(buffer, size, file->m_file);
}

int PakEof(PakFile* file)
{
    return file ? std::feof(file->m_file) : 1;
}

PakReadResult PakReadFile(const std::string& name, std::string& bytes)
{
    bytes.clear();
    PakFile* file = PakOpen(name, "rb");
    if (!file) {
        return PakReadResult::Missing;
    }
    // A regular file says its size: a sparse file of gigabytes is refused before a byte is read.
    struct stat info = {};
    if (::fstat(::fileno(file->m_file), &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::uint64_t>(info.st_size) > kMaxDataFileBytes) {
        PakClose(file);
        return PakReadResult::TooLarge;
    }
    char chunk[65536];
    size_t read = 0;
    while ((read = PakRead(chunk, 1, sizeof(chunk), file)) > 0) {
        // Anything else is measured as it is read.
        if (bytes.size() + read > kMaxDataFileBytes) {
            PakClose(file);
            bytes.clear();
            bytes.shrink_to_fit();
            return PakReadResult::TooLarge;
        }
        bytes.append(chunk, read);
    }
    PakClose(file);
    return PakReadResult::Read;
}

bool PakReadWholeFile(const std::string& name, std::string& bytes)
{
    switch (PakReadFile(name, bytes)) {
    case PakReadResult::Read:
        return true;
    case PakReadResult::Missing:
        return false;
    case PakReadResult::TooLarge:
        LogWriter::WriteLine(TooLargeDataFileMessage(name) + "; it is not read");
        return false;
    }
    return false;
}

std::string TooLargeDataFileMessage(const std::string& name)
{
    return StrFormat("The file is larger than the %d MB a data file may hold in File '%s'",
                     static_cast<int>(kMaxDataFileBytes / (1024 * 1024)), name);
}
