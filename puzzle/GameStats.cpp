#include "puzzle/GameStats.h"

#include "base/LogWriter.h"
#include "puzzle/GridSizeTable.h"
#include "puzzle/PuzzleStats.h"

#include <algorithm>

namespace {

// The room for the clues lies within the screen; the allowances are counts the meters draw one by one.
constexpr int kMaxOffset = 1024;
constexpr int kMaxAllowance = 1000;

int Bounded(int size, const wchar_t* attribute, int value, int low, int high)
{
    const int bounded = std::clamp(value, low, high);
    if (bounded != value)
        LogWriter::WriteLine(L"game.xml: grid " + std::to_wstring(size) + L": " + attribute + L"=" +
                             std::to_wstring(value) + L" read as " + std::to_wstring(bounded));
    return bounded;
}

} // namespace

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
    const int size = GetAttributeInt(L"size");
    if (size < 1 || size > PuzzleStats::kMaxGridSize) {
        LogWriter::WriteLine(L"game.xml: grid " + std::to_wstring(size) + L" ignored: boards are 1 to " +
                             std::to_wstring(PuzzleStats::kMaxGridSize) + L" cells wide");
        return;
    }
    GridSizeRecord record;
    record.hints = Bounded(size, L"hints", GetAttributeInt(L"hints"), 0, kMaxAllowance);
    record.hintReward = Bounded(size, L"hint-reward", GetAttributeInt(L"hint-reward"), 0, kMaxAllowance);
    record.mistakes = Bounded(size, L"mistakes", GetAttributeInt(L"mistakes"), 0, kMaxAllowance);
    record.offsetX = Bounded(size, L"offset-x", GetAttributeInt(L"offset-x"), 0, kMaxOffset);
    record.offsetY = Bounded(size, L"offset-y", GetAttributeInt(L"offset-y"), 0, kMaxOffset);
    if (!gGridSizeTable.Set(size, record))
        LogWriter::WriteLine(L"game.xml: grid " + std::to_wstring(size) +
                             L" needs hints, hint-reward and mistakes of at least 1; raised to 1");
}
