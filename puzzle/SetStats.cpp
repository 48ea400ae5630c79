#include "puzzle/SetStats.h"

#include "base/LogWriter.h"
#include "puzzle/SetTable.h"

#include <algorithm>

namespace {

// Map positions lie well within any screen; numbers beyond would overflow where the map adds sizes to them.
constexpr int kMaxPosition = 4096;
// Far more puzzles than any set needs to open.
constexpr int kMaxUnlock = 10000;

int Bounded(const std::wstring& set, const wchar_t* attribute, int value, int low, int high)
{
    const int bounded = std::clamp(value, low, high);
    if (bounded != value)
        LogWriter::WriteLine(L"sets.xml: set " + set + L": " + attribute + L"=" + std::to_wstring(value) +
                             L" read as " + std::to_wstring(bounded));
    return bounded;
}

} // namespace

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
        record.unlock = Bounded(record.name, L"unlock", GetAttributeInt(L"unlock"), 0, kMaxUnlock);
        record.x = Bounded(record.name, L"x", GetAttributeInt(L"x"), -kMaxPosition, kMaxPosition);
        record.y = Bounded(record.name, L"y", GetAttributeInt(L"y"), -kMaxPosition, kMaxPosition);
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
