#pragma once

#include <string>

// The play screen's art: board frames and highlights per board size, the
// cell pieces, the clue numbers, the picture pieces, the HUD icons, the
// notepad, the tool buttons and the background. Written under the data
// folder; false when a file could not be written.
bool MakePlayArt(const std::string& dataFolder);
