#pragma once

#include "puzzle/PlayerState.h"

#include <string>

// One profile slot; an empty name is a free slot.
struct ProfileRecord
{
    std::wstring name;
    PlayerState state;
};
