#pragma once

#include "resources/Value.h"
#include "resources/XMLElement.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

// The framework's part of a player's record: the play time and the script's
// global variables.
class BasicPlayerState
{
public:
    BasicPlayerState() = default;
    BasicPlayerState(const BasicPlayerState&) = default;
    BasicPlayerState& operator=(const BasicPlayerState&) = default;
    virtual ~BasicPlayerState();

    // Makes this the state that the play-time counter and the scripts' global
    // variables use.
    virtual void MakeCurrent();

    // One tick (a hundredth of a second) of play time.
    void AddPlayTick();

    // The play-time attributes of the state element, each led by a blank:
    // started, hours, minutes, centiseconds.
    std::wstring WritePlayTime() const;

    // A property a save left out: its element would take more than the room the properties had.
    struct LeftOut
    {
        std::wstring name;
        // UTF-16 units, as PropertyUnits counts them.
        std::size_t units{0};
    };

    // The properties as property elements in name order (bool, int, float and string values; others are
    // not kept), within room UTF-16 units as PropertyUnits counts them: when not all fit, the smallest
    // are written and the rest are left out (and added to leftOut when given).
    std::wstring WriteProperties(std::size_t room, std::vector<LeftOut>* leftOut = nullptr) const;
    // One property read back; false for an unknown type.
    bool ReadProperty(const std::wstring& name, const std::wstring& type, const std::wstring& value);
    // What a property element takes of a budget: its length as written, a number counted as the longest
    // number, so that a value read back and written again counts the same.
    static std::size_t PropertyUnits(const std::wstring& name, const std::wstring& value,
                                     const XMLAttributes& otherAttributes);

    bool started{false};
    int hours{0};
    int minutes{0};
    int centiseconds{0};
    std::map<std::wstring, Value> properties;
    // Attributes of a property element this version does not know, by property name: written back as read.
    std::map<std::wstring, XMLAttributes> propertyAttributes;
};

// The current state; cleared when that state is destroyed.
extern BasicPlayerState* gCurrentBasicPlayerState;
