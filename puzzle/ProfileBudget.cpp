#include "puzzle/ProfileBudget.h"

#include "base/Common.h"
#include "puzzle/ProfileRecord.h"
#include "puzzle/PuzzleTable.h"
#include "resources/XmlText.h"

#include <algorithm>

namespace {

// A set's puzzles and sets past those of a fresh state count whole; of the others, only what a newer
// version added to them.
std::size_t ModeUnits(const PlayerState& state, int mode)
{
    const std::size_t shapedSets = static_cast<std::size_t>(std::max(gPuzzleTable.SetCount(mode) - 1, 0));
    std::size_t units =
        WrittenXmlAttributesLength(state.modeAttributes[mode]) + Utf16Length(state.modeElements[mode]);
    for (std::size_t index = 0; index < state.progress[mode].size(); ++index) {
        const SetProgress& set = state.progress[mode][index];
        std::size_t shapedPuzzles = 0;
        if (index < shapedSets)
            shapedPuzzles = static_cast<std::size_t>(gPuzzleTable.PuzzleCount(mode, static_cast<int>(index)));
        else
            units += ProfileBudget::kSetUnits;
        if (set.puzzles.size() > shapedPuzzles)
            units += (set.puzzles.size() - shapedPuzzles) * ProfileBudget::kPuzzleUnits;
        units += WrittenXmlAttributesLength(set.otherAttributes) + Utf16Length(set.otherElements);
        for (const PuzzleProgress& puzzle : set.puzzles)
            units += WrittenXmlAttributesLength(puzzle.otherAttributes);
    }
    return units;
}

} // namespace

std::size_t ProfileBudget::UnitsBesideProperties(const ProfileRecord& record)
{
    const PlayerState& state = record.state;
    std::size_t units = WrittenXmlAttributesLength(record.otherAttributes) +
                        Utf16Length(record.otherElements) +
                        WrittenXmlAttributesLength(state.otherAttributes) + Utf16Length(state.otherElements);
    for (int mode = 0; mode < PlayerState::kModeCount; ++mode)
        units += ModeUnits(state, mode);
    return units;
}

std::size_t ProfileBudget::PropertyRoom(const ProfileRecord& record)
{
    const std::size_t budget = kPerProfileBytes / 2;
    return budget - std::min(budget, UnitsBesideProperties(record));
}
