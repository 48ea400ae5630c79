#include "resources/Constants.h"

#include <map>
#include <mutex>

namespace {

std::mutex gConstantsMutex;
std::map<std::wstring, Value> gConstants;

} // namespace

bool Constants::Load(const std::string& fileName)
{
    return LoadPropertiesFile(fileName);
}

void Constants::HandleElementStart(const std::wstring& name)
{
    if (name == L"constant" && HasAttribute(L"name")) {
        SetConstant(GetAttribute(L"name"), Value(GetAttribute(L"value")));
    }
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
