#pragma once

#include "puzzle/BasicPlayerState.h"
#include "puzzle/SetProgress.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

class PuzzleTable;

// A player's progress, options, current place and play time.
//
// A fresh state has one set entry fewer per mode than the puzzle table has
// sets, so the last set of each mode has none. Read progress through the
// getters (absent entries read as their defaults) and write it through the
// Ensure functions, which make the entry first.
class PlayerState : public BasicPlayerState
{
public:
    static constexpr int kModeCount = 2;

    // A fresh state shaped by the global puzzle table.
    PlayerState();
    explicit PlayerState(const PuzzleTable& table);
    PlayerState(const PlayerState&) = default;
    PlayerState& operator=(const PlayerState&) = default;
    ~PlayerState() override;

    void MakeCurrent() override;

    int CountCompletedPuzzles(int mode, int set) const;
    int CountCompletedSets(int mode) const;

    int SetCount(int mode) const;
    const SetProgress* FindSet(int mode, int set) const;
    PuzzleProgress GetPuzzle(int mode, int set, int puzzle) const;
    bool IsCompleted(int mode, int set, int puzzle) const;
    int GetUnlock(int mode, int set) const;
    bool IsIntroduced(int mode, int set) const;

    // Grows the mode's list up to the set; new entries get one puzzle record
    // per puzzle of the set in the puzzle table. Null for a mode other than 0
    // or 1 or a negative index.
    SetProgress* EnsureSet(int mode, int set);
    SetProgress* EnsureSet(int mode, int set, const PuzzleTable& table);
    PuzzleProgress* EnsurePuzzle(int mode, int set, int puzzle);

    // The state element of profiles.xml, its properties within propertyRoom (see WriteProperties; a save
    // gives the room ProfileBudget leaves).
    std::wstring Write(std::size_t propertyRoom, std::vector<LeftOut>* leftOut = nullptr) const;

    std::array<std::vector<SetProgress>, kModeCount> progress;
    bool madeMistake{false};
    bool seenHint{false};
    bool disableTips{false};
    bool toggleMode{false};
    bool showNumbers{true};
    int currentCountry{0};
    int currentMode{0};
    int playCount{0};
    // Attributes of the state element this version does not know: written back as read.
    XMLAttributes otherAttributes;
    // The same for each mode element.
    std::array<XMLAttributes, kModeCount> modeAttributes;
    // Elements this version does not know, as the XML text they were read as, written back at the end of
    // the state and of each mode.
    std::wstring otherElements;
    std::array<std::wstring, kModeCount> modeElements;
};

// The game's current state; set by MakeCurrent.
extern PlayerState* gCurrentPlayerState;
