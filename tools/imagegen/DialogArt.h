#pragma once

#include <string>

// The art of the game's dialogs: the volume icons beside the options'
// sliders and the letter paper of the story, written under
// images/ui/ of the data folder given. False when a file could not be written.
bool MakeDialogArt(const std::string& dataFolder);
