#pragma once

#include "app/Settings.h"
#include "puzzle/ProfileList.h"

// What the game saved, read back from its data folder the way the game reads
// it at start-up. An unreadable file is a test failure; what could be read
// is returned all the same, with a record for every slot.
ProfileList ReadSavedProfiles();
Settings ReadSavedSettings();
