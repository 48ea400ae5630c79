#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <string>

// What the profiles need from the application. The game fills it in (MyGameApp); a part left empty does
// nothing, so the profiles also work (and are tested) without an application.
struct ProfileEnvironment
{
    // Folder of profiles.xml, ending with a separator; empty: the program's
    // data folder (platform/DataFolder.h).
    std::string dataFolder;
    // While set (the application runs as a screensaver) nothing is saved.
    bool screensaver{false};
    // Called after each save: the game writes its settings.
    std::function<void()> afterSave;
    // Called when the selected profile's name changes: the game's player name.
    std::function<void(const std::wstring&)> playerNameChanged;
    // Called once per run when progress cannot be saved, with the folder and the reason: the game shows a
    // notice and goes on.
    std::function<void(const std::string& folder, const std::string& reason)> saveFailed;
    // Lets tests stop a save after this many bytes, as a crash would.
    std::size_t failWriteAfter{std::numeric_limits<std::size_t>::max()};
};
