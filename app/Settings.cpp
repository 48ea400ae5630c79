#include "app/Settings.h"

#include "base/AtomicFile.h"
#include "base/Common.h"
#include "base/LogWriter.h"
#include "platform/DataFolder.h"
#include "resources/XMLParser.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

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
            }
        }
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
};

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    bytes = content.str();
    return true;
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
    if (!ReadWholeFile(path, bytes)) {
        return SettingsReadResult::Missing;
    }
    Settings read;
    SettingsReader reader(read);
    XMLParser parser;
    std::string reason;
    if (!parser.Parse(bytes, reader)) {
        reason = parser.GetErrorText() + " on line " + std::to_string(parser.GetErrorLine());
    } else if (!reader.Found()) {
        reason = "no settings element";
    }
    if (!reason.empty()) {
        std::string target = MoveAside(path);
        ReportMalformed(path, reason, target);
        if (movedTo) {
            *movedTo = target;
        }
        settings = Settings{};
        return SettingsReadResult::Malformed;
    }
    settings = read;
    return SettingsReadResult::Read;
}

std::wstring GetSettingsAttributes(const Settings& s)
{
    return StrFormatW(L"version=\"%d\" music=\"%g\" sfx=\"%g\" mouse-speed=\"%d\" windowed=\"%d\" "
                      L"stretch-screen=\"%d\" preferred-x=\"%d\" preferred-y=\"%d\" wait-for-vsync=\"%d\" "
                      L"in-progress=\"%d\" custom-cursors=\"%d\" voice=\"%g\"",
                      s.m_version, s.m_musicVolume, s.m_sfxVolume, s.m_mouseSpeed, s.m_windowed,
                      s.m_stretchScreen, s.m_preferredX, s.m_preferredY, s.m_waitForVsync, s.m_inProgress,
                      s.m_customCursors, s.m_voiceVolume);
}

bool WriteSettingsFile(const std::string& path, const Settings& settings)
{
    std::wstring text = StrFormatW(L"<settings %s/>\n", GetSettingsAttributes(settings));
    return AtomicFile(path).Write("\xFF\xFE" + WStringToUtf16LE(text));
}
