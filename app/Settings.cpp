#include "app/Settings.h"

#include "base/AtomicFile.h"
#include "base/Common.h"
#include "base/LogWriter.h"
#include "platform/DataFolder.h"
#include "resources/XMLParser.h"
#include "resources/XmlText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// Attributes the game does not know are kept up to this many bytes as written (UTF-16, escaped: a '>'
// of one byte becomes eight), so the file written back always reads again: far more than a newer
// version's settings take, far less than kMaxSettingsFileBytes.
constexpr std::size_t kMaxOtherAttributeBytes = 64 * 1024;

class SettingsReader : public XMLListener
{
public:
    explicit SettingsReader(Settings& settings) : m_settings(settings) {}

    void OnXMLElement(const XMLElement& element) override
    {
        if (element.m_kind != XMLElement::Kind::Start) {
            return;
        }
        if (element.m_section.empty() && element.m_name == L"settings") {
            m_found = true;
            Apply(element);
        }
    }

    bool Found() const { return m_found; }
    bool LeftOut() const { return m_leftOut; }

private:
    void Apply(const XMLElement& element)
    {
        for (const auto& [name, text] : element.m_attributes) {
            if (name == L"version") {
                StringToInt(text, m_settings.m_version);
            } else if (name == L"music") {
                m_settings.m_musicVolume = Volume(text);
            } else if (name == L"sfx") {
                m_settings.m_sfxVolume = Volume(text);
            } else if (name == L"voice") {
                m_settings.m_voiceVolume = Volume(text);
            } else if (name == L"mouse-speed") {
                StringToInt(text, m_settings.m_mouseSpeed);
            } else if (name == L"windowed") {
                m_settings.m_windowed = Flag(text);
            } else if (name == L"stretch-screen") {
                m_settings.m_stretchScreen = Flag(text);
            } else if (name == L"preferred-x") {
                StringToInt(text, m_settings.m_preferredX);
            } else if (name == L"preferred-y") {
                StringToInt(text, m_settings.m_preferredY);
            } else if (name == L"wait-for-vsync") {
                m_settings.m_waitForVsync = Flag(text);
            } else if (name == L"in-progress") {
                m_settings.m_inProgress = Flag(text);
            } else if (name == L"custom-cursors") {
                m_settings.m_customCursors = Flag(text);
            } else {
                Keep(name, text);
            }
        }
    }

    void Keep(const std::wstring& name, const std::wstring& text)
    {
        const std::size_t length = Utf16Length(name) + EscapedXmlAttributeLength(text) + 4;
        if (length > kMaxOtherAttributeBytes / 2 - m_keptLength) {
            m_leftOut = true;
            return;
        }
        m_keptLength += length;
        m_settings.m_otherAttributes.emplace(name, text);
    }

    // Read as a double, so a written volume reads back exactly.
    static double Volume(const std::wstring& text)
    {
        std::string narrow = WStringToString(text);
        double value = 0;
        auto [end, error] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
        if (error != std::errc() || !std::isfinite(value)) {
            value = ParseFloatW(text);
        }
        return std::clamp(value, 0.0, 1.0);
    }

    static bool Flag(const std::wstring& text)
    {
        int value = 0;
        return text == L"true" || (StringToInt(text, value) && value != 0);
    }

    Settings& m_settings;
    bool m_found{false};
    std::size_t m_keptLength{0};
    bool m_leftOut{false};
};

constexpr std::size_t kMaxSettingsBytes = kMaxSettingsFileBytes;

enum class ReadOutcome
{
    Read,
    Missing,
    Unusable
};

// Reads a regular file of a sane size. Never blocks: a FIFO or a device in its place is unusable, not
// waited on.
ReadOutcome ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason)
{
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            return ReadOutcome::Missing;
        }
        reason = std::strerror(errno);
        return ReadOutcome::Unusable;
    }
    struct stat info = {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = "not a regular file";
    } else if (static_cast<std::uint64_t>(info.st_size) > kMaxSettingsBytes) {
        reason = "too large";
    }
    bytes.clear();
    char buffer[4096];
    while (reason.empty()) {
        ssize_t count = read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            reason = std::strerror(errno);
        } else if (count == 0) {
            break;
        } else if (bytes.size() + static_cast<std::size_t>(count) > kMaxSettingsBytes) {
            reason = "too large";
        } else {
            bytes.append(buffer, static_cast<std::size_t>(count));
        }
    }
    close(fd);
    return reason.empty() ? ReadOutcome::Read : ReadOutcome::Unusable;
}

bool Exists(const std::string& path)
{
    struct stat info = {};
    return stat(path.c_str(), &info) == 0;
}

// Renames the file to the first free name path.bad, path.bad2, ...; the new path, or empty on failure.
std::string MoveAside(const std::string& path)
{
    for (int attempt = 1; attempt < 1000; ++attempt) {
        std::string target = path + ".bad" + (attempt > 1 ? std::to_string(attempt) : std::string());
        if (!Exists(target)) {
            return std::rename(path.c_str(), target.c_str()) == 0 ? target : std::string();
        }
    }
    return {};
}

// Copies a file whose unknown attributes were not all kept to the first free "<path>.cut", ".cut1", ...
void CopyAside(const std::string& path, const std::string& bytes)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string aside = path + ".cut" + (attempt ? std::to_string(attempt) : std::string());
        if (Exists(aside)) {
            continue;
        }
        AtomicFile copy(aside);
        copy.SetModeFrom(path);
        if (copy.Write(bytes)) {
            LogWriter::WriteLine("The settings file '" + path + "' held more attributes of a newer version " +
                                 "than the game keeps; the whole file is kept as '" + aside + "'.");
        } else {
            LogWriter::WriteLine("Could not keep a copy of the settings file '" + path +
                                 "': " + copy.GetError());
        }
        return;
    }
}

void ReportMalformed(const std::string& path, const std::string& reason, const std::string& movedTo)
{
    std::string message = "The settings file '" + path + "' is unreadable (" + reason +
                          "); using the default settings. " +
                          (movedTo.empty() ? std::string("The file could not be moved aside.")
                                           : "The old file is kept as '" + movedTo + "'.");
    std::fprintf(stderr, "%s\n", message.c_str());
    LogWriter::WriteLine(message);
}

} // namespace

std::string GetSettingsPath()
{
    return GetAppDataFolder() + "settings.xml";
}

SettingsReadResult ReadSettingsFile(const std::string& path, Settings& settings, std::string* movedTo)
{
    std::string bytes;
    std::string reason;
    ReadOutcome outcome = ReadWholeFile(path, bytes, reason);
    if (outcome == ReadOutcome::Missing) {
        return SettingsReadResult::Missing;
    }
    Settings read;
    bool leftOut = false;
    if (outcome != ReadOutcome::Read || !ParseSettingsText(bytes, read, reason, &leftOut)) {
        std::string target = MoveAside(path);
        ReportMalformed(path, reason, target);
        if (movedTo) {
            *movedTo = target;
        }
        settings = Settings{};
        return SettingsReadResult::Malformed;
    }
    if (leftOut) {
        CopyAside(path, bytes);
    }
    settings = read;
    return SettingsReadResult::Read;
}

bool ParseSettingsText(const std::string& bytes, Settings& settings, std::string& reason, bool* leftOut)
{
    Settings read;
    SettingsReader reader(read);
    XMLParser parser;
    if (!parser.Parse(bytes, reader)) {
        reason = parser.GetErrorText() + " on line " + std::to_string(parser.GetErrorLine());
        return false;
    }
    if (!reader.Found()) {
        reason = "no settings element";
        return false;
    }
    if (leftOut) {
        *leftOut = reader.LeftOut();
    }
    settings = std::move(read);
    return true;
}

std::wstring GetSettingsAttributes(const Settings& s)
{
    return StrFormatW(L"version=\"%d\" music=\"%g\" sfx=\"%g\" mouse-speed=\"%d\" windowed=\"%d\" "
                      L"stretch-screen=\"%d\" preferred-x=\"%d\" preferred-y=\"%d\" wait-for-vsync=\"%d\" "
                      L"in-progress=\"%d\" custom-cursors=\"%d\" voice=\"%g\"",
                      s.m_version, s.m_musicVolume, s.m_sfxVolume, s.m_mouseSpeed, s.m_windowed,
                      s.m_stretchScreen, s.m_preferredX, s.m_preferredY, s.m_waitForVsync, s.m_inProgress,
                      s.m_customCursors, s.m_voiceVolume) +
           WriteXmlAttributes(s.m_otherAttributes);
}

bool WriteSettingsFile(const std::string& path, const Settings& settings)
{
    std::wstring text = StrFormatW(L"<settings %s/>\n", GetSettingsAttributes(settings));
    return AtomicFile(path).Write("\xFF\xFE" + WStringToUtf16LE(text));
}
