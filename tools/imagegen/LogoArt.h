#pragma once

#include <string>

// The maker's animated logo: the letters "O", "S", "T", "R", "E" with the
// tilted "S_Tilt" and "R_Tilt", the ball (three cells: at rest, two spin
// frames), the trail of the ball's flight and the trademark. False when a
// file could not be written.
bool MakeLogoArt(const std::string& dataFolder);
