#pragma once

#include "resources/Parser.h"
#include "resources/Value.h"

#include <string>

// Reads properties/constants.xml: <constant name="..." value="..."/> elements. Values are kept as
// text Values, so each reads as an int, a float or a text as the caller needs.
class Constants : public Parser
{
public:
    // Adds (or replaces) the constants of the file. False when the file could not be read.
    bool Load(const std::string& fileName = "constants.xml");

protected:
    void HandleElementStart(const std::wstring& name) override;
};

// The named constant. A name that is not in the table is inserted with the default Value (the int 0).
Value GetConstant(const std::wstring& name);
int GetConstantInt(const std::wstring& name);
float GetConstantFloat(const std::wstring& name);
bool GetConstantBool(const std::wstring& name);
// Whether the table holds the name (no insertion).
bool HasConstant(const std::wstring& name);
void SetConstant(const std::wstring& name, const Value& value);
// Empties the table.
void ClearConstants();
