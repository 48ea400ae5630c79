#include "puzzle/GameStats.h"

#include "base/LogWriter.h"
#include "puzzle/GridSizeTable.h"

GameStats::GameStats()
{
    LoadPropertiesFile("game.xml");
}

GameStats::GameStats(const std::string& path)
{
    ParseFile(path);
}

void GameStats::HandleElementStart(const std::wstring& name)
{
    if (name != L"grid")
        return;
    GridSizeRecord record;
    record.hints = GetAttributeInt(L"hints");
    record.hintReward = GetAttributeInt(L"hint-reward");
    record.mistakes = GetAttributeInt(L"mistakes");
    record.offsetX = GetAttributeInt(L"offset-x");
    record.offsetY = GetAttributeInt(L"offset-y");
    const int size = GetAttributeInt(L"size");
    if (!gGridSizeTable.Set(size, record))
        LogWriter::WriteLine(L"game.xml: grid " + std::to_wstring(size) +
                             L" needs hints, hint-reward and mistakes of at least 1; raised to 1");
}
