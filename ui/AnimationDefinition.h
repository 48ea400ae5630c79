#pragma once

#include "ui/ScriptCommand.h"

#include <string>

// One named script: the top-level commands of an `animation` element.
class AnimationDefinition
{
public:
    std::wstring m_name;
    // The scripts file it was read from, for messages.
    std::string m_file;
    ScriptBody m_commands;
};
