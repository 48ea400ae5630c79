#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <string>

// What the profiles need from the application. Each part left empty falls
// back to the application object when one exists, so the profiles also work
// (and are tested) without one.
struct ProfileEnvironment
{
    // Folder of profiles.xml, ending with a separator; empty: the
    // application's data folder.
    std::string dataFolder;
    // While set (or while the application runs as a screensaver) nothing is
    // saved.
    bool screensaver{false};
    // Called after each save; default: the application writes its settings.
    std::function<void()> afterSave;
    // Called when the selected profile's name changes; default: the
    // application's player name.
    std::function<void(const std::wstring&)> playerNameChanged;
    // Called once per run when progress cannot be saved, with the folder and the reason; default: the
    // application shows a notice and the game goes on.
    std::function<void(const std::string& folder, const std::string& reason)> saveFailed;
    // Lets tests stop a save after this many bytes, as a crash would.
    std::size_t failWriteAfter{std::numeric_limits<std::size_t>::max()};
};
