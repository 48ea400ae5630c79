#pragma once

#include <string>

class Value;

// Where scripts write their global variables: the current player's
// properties, in the game (WidgetHost::GetScriptGlobalStore; reading goes
// through the evaluator's global functions). Without a store the writes are
// dropped.
class ScriptGlobalStore
{
public:
    virtual ~ScriptGlobalStore() = default;

    // Never given a reference: the value is a plain bool, number, text or colour.
    virtual void SetGlobal(const std::wstring& name, const Value& value) = 0;
    virtual void EraseGlobal(const std::wstring& name) = 0;
};
