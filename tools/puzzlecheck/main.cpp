// Checks every puzzle of a puzzles.xml: playable shape and exactly one
// solution that can be found line by line from its clues. Exit code 0 when
// all pass; a puzzle that is unique only with guessing fails, since players
// are never asked to guess.
#include "base/Common.h"
#include "puzzle/PuzzleStats.h"
#include "puzzle/PuzzleTable.h"
#include "tools/puzzlecheck/LineSolver.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: puzzlecheck <puzzles.xml>\n");
        return 2;
    }
    PuzzleStats reader{std::string(argv[1])};
    int failures = 0;
    for (int mode = 0; mode < PuzzleTable::kModeCount; ++mode) {
        for (int set = 0; set < gPuzzleTable.SetCount(mode); ++set) {
            for (int puzzle = 0; puzzle < gPuzzleTable.PuzzleCount(mode, set); ++puzzle) {
                const PuzzleRecord& record = *gPuzzleTable.Find(mode, set, puzzle);
                std::string verdict;
                if (!record.playable) {
                    verdict = "not playable: " + WStringToString(record.problem);
                } else {
                    LineSolver byLines(LineSolver::ColumnClues(record.tiles),
                                       LineSolver::RowClues(record.tiles));
                    LineSolver full(LineSolver::ColumnClues(record.tiles),
                                    LineSolver::RowClues(record.tiles));
                    if (byLines.SolveByLines())
                        verdict = "unique (line by line)";
                    else if (full.Solve() == LineSolver::Result::Unique)
                        verdict = "NEEDS GUESSING (unique)";
                    else
                        verdict = "AMBIGUOUS";
                }
                const bool ok = verdict == "unique (line by line)";
                failures += ok ? 0 : 1;
                std::printf("%d/%d/%d %-12s %2dx%-2d %s\n", mode, set, puzzle,
                            WStringToString(record.name).c_str(), record.GridSize(), record.GridSize(),
                            verdict.c_str());
            }
        }
    }
    return failures == 0 ? 0 : 1;
}
