#pragma once

#include "resources/Parser.h"
#include "resources/Value.h"

#include <span>
#include <string>
#include <string_view>

// The values a constant may take, as its readers read it (as an int or as a float). A name ending in '*'
// stands for every name that begins with the rest (constants named per grid size).
struct ConstantRange
{
    enum class Kind
    {
        Int,
        Float,
    };
    std::wstring_view name;
    Kind kind{Kind::Int};
    double low{0};
    double high{0};
};

// The range of the name among the ranges, or null.
const ConstantRange* FindConstantRange(std::span<const ConstantRange> ranges, std::wstring_view name);

// Reads properties/constants.xml: <constant name="..." value="..."/> elements. Values are kept as
// text Values, so each reads as an int, a float or a text as the caller needs.
class Constants : public Parser
{
public:
    // A value outside its range is read as the nearest bound, and the log names the constant.
    explicit Constants(std::span<const ConstantRange> ranges = {}) : m_ranges(ranges) {}

    // Adds (or replaces) the constants of the file. False when the file could not be read.
    bool Load(const std::string& fileName = "constants.xml");

protected:
    void HandleElementStart(const std::wstring& name) override;

private:
    // The value bounded by the constant's range, when it has one.
    Value Bounded(const std::wstring& name, const Value& value) const;

    std::span<const ConstantRange> m_ranges;
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
