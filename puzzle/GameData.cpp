#include "puzzle/GameData.h"

#include "base/LogWriter.h"
#include "puzzle/GameStats.h"
#include "puzzle/GridSizeTable.h"
#include "puzzle/MyLocalization.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/PuzzleNameTable.h"
#include "puzzle/PuzzleStats.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/SetStats.h"
#include "puzzle/SetTable.h"

void LoadGameTables(const std::string& folder, const std::function<void()>& step)
{
    auto advance = [&step] {
        if (step)
            step();
    };
    PuzzleStats(folder + "puzzles.xml");
    advance();
    GameStats(folder + "game.xml");
    advance();
    SetStats(folder + "sets.xml");
    advance();
    ProfileManager();
    advance();
    MyLocalization(folder + "localization.xml");
    advance();
}

int RejectPicturesBeyond(int artTileCount)
{
    int rejected = 0;
    for (int mode = 0; mode < PuzzleTable::kModeCount; ++mode) {
        for (PuzzleTable::Set& set : gPuzzleTable.Sets(mode)) {
            for (PuzzleRecord& record : set) {
                bool beyond = false;
                for (const std::vector<int>& column : record.picture)
                    for (int value : column)
                        beyond = beyond || value >= artTileCount;
                if (!beyond || !record.playable)
                    continue;
                record.playable = false;
                record.problem = L"a picture cell beyond the art tiles";
                LogWriter::WriteLine(L"puzzles.xml: " + record.name + L" is not playable: " + record.problem);
                ++rejected;
            }
        }
    }
    return rejected;
}

void ClearGameTables()
{
    gPuzzleTable.Clear();
    gSetTable.Clear();
    gGridSizeTable.Clear();
    gPuzzleNameTable.Clear();
    ProfileManager::ClearProfiles();
}
