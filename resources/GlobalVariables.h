#pragma once

#include <string>

class Value;

// The variables that expressions read with global() and globaldefined(): the current player's
// properties. The player state registers an implementation; without one, nothing is defined.
class GlobalVariables
{
public:
    virtual ~GlobalVariables() = default;
    // True and the value when the name is defined.
    virtual bool GetGlobal(const std::wstring& name, Value& value) const = 0;
};

// Registers the source of global variables (null: none). Read by every evaluator on the main thread.
void SetGlobalVariables(const GlobalVariables* globals);
const GlobalVariables* GetGlobalVariables();
