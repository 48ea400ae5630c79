#pragma once

#include "puzzle/PlayerState.h"
#include "resources/XMLElement.h"

#include <string>

// One profile slot; an empty name is a free slot.
struct ProfileRecord
{
    std::wstring name;
    PlayerState state;
    // Attributes of the profile element this version does not know: written back as read.
    XMLAttributes otherAttributes;
};
