#include "resources/ConfigStats.h"

#include <map>
#include <mutex>

namespace {

std::mutex gConfigMutex;
std::map<std::wstring, std::wstring> gConfig;

} // namespace

bool ConfigStats::Load(const std::string& fileName)
{
    return LoadPropertiesFile(fileName);
}

void ConfigStats::HandleElementStart(const std::wstring& name)
{
    if (name != L"config") {
        return;
    }
    std::lock_guard lock(gConfigMutex);
    for (const auto& [key, value] : GetElement().m_attributes) {
        gConfig.insert_or_assign(key, value);
    }
}

std::wstring GetConfigValue(const std::wstring& name)
{
    std::lock_guard lock(gConfigMutex);
    return gConfig[name];
}

std::wstring GetConfigCompany()
{
    return GetConfigValue(L"company");
}

std::wstring GetConfigProduct()
{
    return GetConfigValue(L"product");
}

void ClearConfig()
{
    std::lock_guard lock(gConfigMutex);
    gConfig.clear();
}
