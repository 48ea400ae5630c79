#pragma once

#include <string>

// The art of the plain controls: the slider's track and thumb and the check
// box in its four looks, written under images/ui/ of the data folder given.
// False when a file could not be written.
bool MakeControlArt(const std::string& dataFolder);
