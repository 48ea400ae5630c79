#pragma once

#include <string>

// Where the program keeps its own files: $TARNVALE_DATA_DIR when set, else $XDG_DATA_HOME (default
// ~/.local/share) + "/<company>/<product>/". The path ends with '/'; nothing is created.
std::string FindDataFolder(const std::string& company, const std::string& product);
