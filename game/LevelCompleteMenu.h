#pragma once

#include "game/LevelStatusMenu.h"

class DynamicWidget;
class MyGameApp;
class PlayArtGrid;

// After a solve: records the solve in the player's progress as it opens (so
// it stays whether or not "ok" is ever pressed), with the next puzzle, set or
// bonus puzzle it unlocks, announces bonus puzzles when the script signals
// "summary_shown", and shows the revealed picture as its script's object
// "art". "ok" and "quit" both lead on: the next puzzle of the first set, set
// loading, the puzzle choice, the bonus sets or the game's ending.
class LevelCompleteMenu : public LevelStatusMenu
{
public:
    // The art grid is the play screen's, already handed over: this dialog
    // owns it from now on.
    LevelCompleteMenu(MyGameApp& app, int mode, int set, int puzzle, int seconds, int mistakes, int hintsUsed,
                      PlayArtGrid* artGrid, bool firstSolve);

    void Update() override;
    void Close() override;
    void Confirm() override { Close(); }
    void Signal(int id, const std::wstring& message) override;
    Outcome HandleCommand(const ScriptCommand& command) override;
    // The dialog's own script words, asked before those of every status dialog.
    using HostWord = HostWordRow<LevelCompleteMenu&>;
    static std::span<const HostWord> HostWords();

    // The script that suits the puzzle.
    static std::wstring ScriptFor(int mode, int set, int puzzle);

    bool IsFirstSolve() const { return m_firstSolve; }
    int GetNextPuzzle() const { return m_nextPuzzle; }
    int GetNextSet() const { return m_nextSet; }
    PlayArtGrid* GetArtGrid() const { return m_artGrid; }
    DynamicWidget* GetArtHolder() const { return m_artHolder; }

private:
    void TakeArtGrid(PlayArtGrid* artGrid);
    void RecordProgress(int mistakes, int hintsUsed);
    bool IsLastOfSet() const;

    bool m_firstSolve = false;
    bool m_firstSet = false;
    int m_nextPuzzle = -1;
    int m_nextSet = -1;
    PlayArtGrid* m_artGrid = nullptr;
    DynamicWidget* m_artHolder = nullptr;
};
