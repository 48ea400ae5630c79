#pragma once

#include "puzzle/ProfileRecord.h"
#include "resources/XMLElement.h"

#include <string>
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
    // Elements of the root this version does not know, as the XML text they were read as.
    std::wstring otherElements;
    // Set by the reader when the file held more than the game can keep (more profiles, puzzles or sets
    // than it knows, longer names); says what was left out.
    std::string cut;
};

extern ProfileList gProfileList;
