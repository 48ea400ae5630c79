#pragma once

#include "resources/Constants.h"

#include <span>

// The range of every constant of properties/constants.xml that the program reads, the framework's among
// them; the file is the game's, and a modder's value outside a range is read as its nearest bound. Any
// values inside the ranges leave the game playable: what the player must click stays on the screen.
// "logging" is a flag: any text reads as on or off, so it has no range.
std::span<const ConstantRange> GameConstantRanges();
