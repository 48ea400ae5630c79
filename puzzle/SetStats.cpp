#include "puzzle/SetStats.h"

#include "base/LogWriter.h"
#include "puzzle/SetTable.h"

SetStats::SetStats()
{
    LoadPropertiesFile("sets.xml");
}

SetStats::SetStats(const std::string& path)
{
    ParseFile(path);
}

void SetStats::HandleElementStart(const std::wstring& name)
{
    if (name == L"mode") {
        ++mode;
        set = -1;
        if (mode >= SetTable::kModeCount)
            LogWriter::WriteLine(L"sets.xml: mode " + std::to_wstring(mode) + L" ignored (there are two)");
    } else if (name == L"set") {
        set = -1;
        if (mode < 0 || mode >= SetTable::kModeCount)
            return;
        std::vector<SetRecord>& sets = gSetTable.Sets(mode);
        SetRecord& record = sets.emplace_back();
        set = static_cast<int>(sets.size()) - 1;
        record.name = GetAttribute(L"name");
        record.wing = GetAttribute(L"wing");
        record.unlock = GetAttributeInt(L"unlock");
        record.x = GetAttributeInt(L"x");
        record.y = GetAttributeInt(L"y");
        record.separate = HasAttribute(L"separate") && GetAttributeBool(L"separate");
    } else if (name == L"music") {
        if (set < 0)
            return;
        gSetTable.Sets(mode)[set].music.push_back(GetAttributeMusicId(L"name"));
    }
}

void SetStats::HandleElementEnd(const std::wstring& name)
{
    if (name == L"set" || name == L"mode")
        set = -1;
}
