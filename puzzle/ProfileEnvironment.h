#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <string>

// What the profiles need from the application, set once at start-up, so that
// they work (and are tested) without an application object.
struct ProfileEnvironment {
    // Folder of profiles.xml, ending with a separator; empty: the
    // application's data folder.
    std::string dataFolder;
    // While set nothing is saved.
    bool screensaver { false };
    // Called after profiles.xml was written (the application writes its
    // settings then).
    std::function<void()> afterSave;
    // Called when the selected profile's name changes.
    std::function<void(const std::wstring&)> playerNameChanged;
    // Lets tests stop a save after this many bytes, as a crash would.
    std::size_t failWriteAfter { std::numeric_limits<std::size_t>::max() };
};
