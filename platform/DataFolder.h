#pragma once

#include <string>

// Where the program keeps its own files: $TARNVALE_DATA_DIR when set, else $XDG_DATA_HOME (default
// ~/.local/share) + "/<company>/<product>/". The path ends with '/'; nothing is created. A relative
// folder is made absolute against the working directory of the first call that meets it, and every later
// call gives that same folder, so changing directory afterwards (-changedir) never moves the saves.
std::string FindDataFolder(const std::string& company, const std::string& product);

// The program's data folder: saves, settings, the log and the sound cache live there. The company and
// product words come from the configuration; until InitAppDataFolder runs, they are "Ostrel" and
// "Tarnvale 6". Empty words are ignored.
void InitAppDataFolder(const std::wstring& company, const std::wstring& product);
// The data folder, created when missing, as a path ending with '/'.
std::string GetAppDataFolder();
