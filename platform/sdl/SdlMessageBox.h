#pragma once

#include <string>

// True when a desktop display is reachable, so a message box can be shown.
bool HasDisplay();
// Shows a modal error box; false when none could be shown.
bool ShowSdlErrorBox(const std::string& caption, const std::string& message);
