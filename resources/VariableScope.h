#pragma once

#include <string>

class Value;

// Variables an evaluator reads after its own table, e.g. those of the script that owns it.
class VariableScope
{
public:
    virtual ~VariableScope() = default;
    // The variable's value, or null when the scope does not define it.
    virtual const Value* FindVariable(const std::wstring& name) const = 0;
};
