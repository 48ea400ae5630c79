#pragma once

#include "resources/Value.h"

#include <string>

class DynamicWidget;

// What a scripted button does: the scripts run when the pointer enters and
// leaves it, and the action of a press or release.
class ButtonActions
{
public:
    enum class Kind
    {
        None = 0,
        Launch = 1, // plays the target script in place of the running one
        Call = 2,   // runs the target script, then returns to the interrupted command
        Action = 3  // the host's HandleAction with target, parameter and object
    };

    DynamicWidget* m_button = nullptr;
    std::wstring m_hoverScript;
    std::wstring m_leaveScript;
    std::wstring m_target;
    std::wstring m_parameter;
    // False: the action fires on press; true: on release.
    bool m_onDepress = false;
    // Handed to an "action": a widget reference, which reads null once the
    // widget is gone.
    Value m_object;
    Kind m_kind = Kind::None;
};
