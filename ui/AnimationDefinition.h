#pragma once

#include "ui/ScriptCommand.h"

#include <string>

// One named script: the top-level commands of an `animation` element.
class AnimationDefinition
{
public:
    std::wstring m_name;
    ScriptBody m_commands;
};
