#pragma once

#include "resources/XMLElement.h"

#include <cstddef>
#include <string>

// The player's settings, kept in settings.xml in the data folder: one element
// <settings version=".." music=".." .../> in UTF-16LE with a byte-order mark.
struct Settings
{
    static constexpr int kVersion = 1;

    int m_version{kVersion};
    // Volumes from 0 to 1.
    double m_musicVolume{0.85};
    double m_sfxVolume{0.85};
    double m_voiceVolume{0.85};
    // Kept for the file; the game never changes the system's pointer speed.
    int m_mouseSpeed{10};
    bool m_windowed{true};
    bool m_stretchScreen{false};
    // Where the window was last placed; -1 centres it.
    int m_preferredX{-1};
    int m_preferredY{-1};
    bool m_waitForVsync{true};
    // Set while the program runs, so the next start can tell that the last one did not end cleanly.
    bool m_inProgress{false};
    bool m_customCursors{true};
    // Attributes a newer version wrote that this one does not know: written back as read.
    XMLAttributes m_otherAttributes;

    bool operator==(const Settings&) const = default;
};

enum class SettingsReadResult
{
    Read,
    Missing,
    Malformed
};

// GetAppDataFolder() + "settings.xml".
std::string GetSettingsPath();
// The largest settings file the game reads; a settings file is a few hundred bytes.
constexpr std::size_t kMaxSettingsFileBytes = 1024 * 1024;

// Reads the file into settings. A missing file leaves them as they are. A malformed one gives the defaults
// and is renamed aside (settings.xml.bad, .bad2, ...), so nothing is lost; movedTo receives its new path.
// Attributes absent from the file keep their defaults; volumes are clamped to 0..1. Attributes the game
// does not know are kept only as far as the file written back stays small; when some are left out, the
// whole file is first copied to settings.xml.cut (.cut1, ...).
SettingsReadResult ReadSettingsFile(const std::string& path, Settings& settings,
                                    std::string* movedTo = nullptr);
// Reads the text of a settings file; false with the reason when it is not one. leftOut tells whether
// unknown attributes were left out.
bool ParseSettingsText(const std::string& bytes, Settings& settings, std::string& reason,
                       bool* leftOut = nullptr);
// The attribute list, version="1" music="0.85" ... in file order.
std::wstring GetSettingsAttributes(const Settings& settings);
// Replaces the file at once (a temporary file, then a rename). False when it could not be written.
bool WriteSettingsFile(const std::string& path, const Settings& settings);
