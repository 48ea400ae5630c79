#pragma once

#include "resources/Value.h"
#include "resources/XMLElement.h"

#include <map>
#include <string>

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

    // The properties as property elements (bool, int, float and string
    // values; others are not kept), and one read back; false for an unknown
    // type.
    std::wstring WriteProperties() const;
    bool ReadProperty(const std::wstring& name, const std::wstring& type, const std::wstring& value);

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
