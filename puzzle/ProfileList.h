#pragma once

#include "puzzle/ProfileRecord.h"
#include "resources/XMLElement.h"

#include <vector>

// The eight profile slots, the selected one and the current state.
class ProfileList
{
public:
    static constexpr int kSlots = 8;

    ~ProfileList();

    bool IsValidSlot(int slot) const { return slot >= 0 && slot < static_cast<int>(records.size()); }

    std::vector<ProfileRecord> records;
    int selected{-1};
    // Attributes of the root element this version does not know: written back as read.
    XMLAttributes otherAttributes;
};

extern ProfileList gProfileList;
