#include "puzzle/PlayerState.h"

#include "base/Common.h"
#include "puzzle/PuzzleTable.h"
#include "resources/XmlText.h"

#include <algorithm>

PlayerState* gCurrentPlayerState = nullptr;

PlayerState::PlayerState() : PlayerState(gPuzzleTable) {}

PlayerState::PlayerState(const PuzzleTable& table)
{
    for (int mode = 0; mode < kModeCount; ++mode) {
        // The last set of each mode has no entry.
        const int sets = std::max(table.SetCount(mode) - 1, 0);
        for (int set = 0; set < sets; ++set)
            EnsureSet(mode, set, table);
    }
    if (SetProgress* first = EnsureSet(0, 0, table))
        first->unlock = 1;
}

PlayerState::~PlayerState()
{
    if (gCurrentPlayerState == this)
        gCurrentPlayerState = nullptr;
}

void PlayerState::MakeCurrent()
{
    BasicPlayerState::MakeCurrent();
    gCurrentPlayerState = this;
}

int PlayerState::CountCompletedPuzzles(int mode, int set) const
{
    const SetProgress* entry = FindSet(mode, set);
    if (!entry)
        return 0;
    return static_cast<int>(std::count_if(entry->puzzles.begin(), entry->puzzles.end(),
                                          [](const PuzzleProgress& p) { return p.completed; }));
}

int PlayerState::CountCompletedSets(int mode) const
{
    int count = 0;
    for (int set = 0; set < SetCount(mode); ++set) {
        const SetProgress& entry = progress[mode][set];
        if (!entry.puzzles.empty() &&
            CountCompletedPuzzles(mode, set) == static_cast<int>(entry.puzzles.size()))
            ++count;
    }
    return count;
}

int PlayerState::SetCount(int mode) const
{
    if (mode < 0 || mode >= kModeCount)
        return 0;
    return static_cast<int>(progress[mode].size());
}

const SetProgress* PlayerState::FindSet(int mode, int set) const
{
    if (set < 0 || set >= SetCount(mode))
        return nullptr;
    return &progress[mode][set];
}

PuzzleProgress PlayerState::GetPuzzle(int mode, int set, int puzzle) const
{
    const SetProgress* entry = FindSet(mode, set);
    if (!entry || puzzle < 0 || puzzle >= static_cast<int>(entry->puzzles.size()))
        return {};
    return entry->puzzles[puzzle];
}

bool PlayerState::IsCompleted(int mode, int set, int puzzle) const
{
    return GetPuzzle(mode, set, puzzle).completed;
}

int PlayerState::GetUnlock(int mode, int set) const
{
    const SetProgress* entry = FindSet(mode, set);
    return entry ? entry->unlock : 0;
}

bool PlayerState::IsIntroduced(int mode, int set) const
{
    const SetProgress* entry = FindSet(mode, set);
    return entry && entry->introduced;
}

SetProgress* PlayerState::EnsureSet(int mode, int set)
{
    return EnsureSet(mode, set, gPuzzleTable);
}

SetProgress* PlayerState::EnsureSet(int mode, int set, const PuzzleTable& table)
{
    if (mode < 0 || mode >= kModeCount || set < 0)
        return nullptr;
    std::vector<SetProgress>& sets = progress[mode];
    while (static_cast<int>(sets.size()) <= set) {
        SetProgress entry;
        entry.puzzles.resize(table.PuzzleCount(mode, static_cast<int>(sets.size())));
        sets.push_back(std::move(entry));
    }
    return &sets[set];
}

PuzzleProgress* PlayerState::EnsurePuzzle(int mode, int set, int puzzle)
{
    SetProgress* entry = EnsureSet(mode, set);
    if (!entry || puzzle < 0)
        return nullptr;
    if (static_cast<int>(entry->puzzles.size()) <= puzzle)
        entry->puzzles.resize(puzzle + 1);
    return &entry->puzzles[puzzle];
}

std::wstring PlayerState::Write(std::size_t propertyRoom, std::vector<LeftOut>* leftOut) const
{
    std::wstring text =
        StrFormatW(L"<state current-country=\"%d\" current-mode=\"%d\" made-mistake=\"%d\" "
                   L"seen-hint=\"%d\" disable-tips=\"%d\" toggle-mode=\"%d\" show-numbers=\"%d\"",
                   currentCountry, currentMode, madeMistake ? 1 : 0, seenHint ? 1 : 0, disableTips ? 1 : 0,
                   toggleMode ? 1 : 0, showNumbers ? 1 : 0);
    text += WritePlayTime();
    text += WriteXmlAttributes(otherAttributes);
    text += L">";
    for (int mode = 0; mode < kModeCount; ++mode) {
        text += L"<mode" + WriteXmlAttributes(modeAttributes[mode]) + L">";
        for (const SetProgress& set : progress[mode]) {
            text += StrFormatW(L"<set unlock=\"%d\" introduced=\"%d\"%s>", set.unlock, set.introduced ? 1 : 0,
                               WriteXmlAttributes(set.otherAttributes));
            for (const PuzzleProgress& puzzle : set.puzzles)
                text += StrFormatW(L"<puzzle completed=\"%d\" best-time=\"%d\" without-hints=\"%d\" "
                                   L"without-mistakes=\"%d\"%s/>",
                                   puzzle.completed ? 1 : 0, puzzle.bestTime, puzzle.withoutHints ? 1 : 0,
                                   puzzle.withoutMistakes ? 1 : 0, WriteXmlAttributes(puzzle.otherAttributes));
            text += set.otherElements;
            text += L"</set>";
        }
        text += modeElements[mode];
        text += L"</mode>";
    }
    text += WriteProperties(propertyRoom, leftOut);
    text += otherElements;
    text += L"</state>";
    return text;
}
