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
    // Elements this version does not know, as the XML text they were read as: written back at the end.
    std::wstring otherElements;
};
