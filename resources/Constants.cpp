#include "resources/Constants.h"

#include "base/LogWriter.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

namespace {

std::mutex gConstantsMutex;
std::map<std::wstring, Value> gConstants;

// The value as a constant of the range's kind.
Value AsRead(const ConstantRange& range, double value)
{
    if (range.kind == ConstantRange::Kind::Int)
        return Value(static_cast<int>(value));
    return Value(static_cast<float>(value));
}

} // namespace

bool Constants::Load(const std::string& fileName)
{
    return LoadPropertiesFile(fileName);
}

void Constants::HandleElementStart(const std::wstring& name)
{
    if (name == L"constant" && HasAttribute(L"name")) {
        const std::wstring& constant = GetAttribute(L"name");
        SetConstant(constant, Bounded(constant, Value(GetAttribute(L"value"))));
    }
}

const ConstantRange* FindConstantRange(std::span<const ConstantRange> ranges, std::wstring_view name)
{
    for (const ConstantRange& range : ranges) {
        if (!range.name.empty() && range.name.back() == L'*') {
            if (name.starts_with(range.name.substr(0, range.name.size() - 1)))
                return &range;
        } else if (range.name == name) {
            return &range;
        }
    }
    return nullptr;
}

Value Constants::Bounded(const std::wstring& name, const Value& value) const
{
    const ConstantRange* range = FindConstantRange(m_ranges, name);
    if (range == nullptr)
        return value;
    // Checked as the readers read it: "1e9" is 1 to one that reads an int.
    const double read =
        range->kind == ConstantRange::Kind::Int ? static_cast<double>(value.ToInt()) : value.ToFloat();
    if (read >= range->low && read <= range->high)
        return value;
    // A float that is not a number: the bound nearest to 0.
    const double bounded = std::clamp(std::isnan(read) ? 0.0 : read, range->low, range->high);
    const Value result = AsRead(*range, bounded);
    LogWriter::WriteLine(L"constants.xml: " + name + L"=" + value.ToString() + L" read as " +
                         result.ToString() + L" (its range is " + AsRead(*range, range->low).ToString() +
                         L" to " + AsRead(*range, range->high).ToString() + L")");
    return result;
}

Value GetConstant(const std::wstring& name)
{
    std::lock_guard lock(gConstantsMutex);
    return gConstants[name];
}

int GetConstantInt(const std::wstring& name)
{
    std::lock_guard lock(gConstantsMutex);
    return gConstants[name].ToInt();
}

float GetConstantFloat(const std::wstring& name)
{
    std::lock_guard lock(gConstantsMutex);
    return gConstants[name].ToFloat();
}

bool GetConstantBool(const std::wstring& name)
{
    std::lock_guard lock(gConstantsMutex);
    return gConstants[name].ToBool();
}

bool HasConstant(const std::wstring& name)
{
    std::lock_guard lock(gConstantsMutex);
    return gConstants.contains(name);
}

void SetConstant(const std::wstring& name, const Value& value)
{
    std::lock_guard lock(gConstantsMutex);
    gConstants.insert_or_assign(name, value);
}

void ClearConstants()
{
    std::lock_guard lock(gConstantsMutex);
    gConstants.clear();
}
