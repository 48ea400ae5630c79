#include "game/LevelCompleteMenu.h"

#include "app/NoticeMenu.h"
#include "game/MyBoard.h"
#include "game/MyGameApp.h"
#include "game/MyPlayPuzzleMenu.h"
#include "game/PuzzleSelectMenu.h"
#include "game/SelectSetMenu.h"
#include "game/SetLoadingMenu.h"
#include "puzzle/PlayArtGrid.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/PuzzleNameTable.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/SetTable.h"
#include "resources/Constants.h"
#include "resources/Localization.h"
#include "resources/Value.h"
#include "ui/DynamicWidget.h"
#include "ui/ScriptCommand.h"

#include <algorithm>
#include <limits>

std::wstring LevelCompleteMenu::ScriptFor(int mode, int set, int puzzle)
{
    if (mode >= 1)
        return L"level_complete_extra";
    if (set == 0 && puzzle < GetConstantInt(L"puzzles_with_journal"))
        return L"level_complete_first";
    return L"level_complete";
}

LevelCompleteMenu::LevelCompleteMenu(MyGameApp& app, int mode, int set, int puzzle, int seconds, int mistakes,
                                     int hintsUsed, PlayArtGrid* artGrid, bool firstSolve)
    : LevelStatusMenu(app, ScriptFor(mode, set, puzzle), mode, set, puzzle, seconds, mistakes, hintsUsed),
      m_firstSolve(firstSolve), m_firstSet(mode == 0 && set == 0)
{
    // The script's "signal" reaches this dialog.
    Attach(GetListenerLink());

    const SetRecord* setRecord = gSetTable.Find(mode, set);
    const std::wstring setName = setRecord != nullptr ? setRecord->name : std::wstring();
    std::wstring info;
    if (const SetNames* names = gPuzzleNameTable.Find(setName))
        if (puzzle >= 0 && static_cast<std::size_t>(puzzle) < names->puzzles.size())
            info = names->puzzles[static_cast<std::size_t>(puzzle)];
    SetVariable(L"puzzle_info", Value(info));
    SetVariable(L"set_name", Value(Localize(setName)));

    TakeArtGrid(artGrid);
    RecordProgress(mistakes, hintsUsed);
    // The script names its button by what it does: straight on to the next
    // puzzle of the primer, or on to a choice.
    SetVariable(L"next_puzzle", Value(m_firstSet && m_nextPuzzle >= 0 && m_nextSet < 0));
    SaveProfiles();
    BeginScript();
}

void LevelCompleteMenu::TakeArtGrid(PlayArtGrid* artGrid)
{
    m_artGrid = artGrid;
    m_artHolder = new DynamicWidget(0, 0, nullptr, 1.0f);
    if (artGrid != nullptr) {
        m_artHolder->Resize(artGrid->GetX(), artGrid->GetY(), artGrid->GetWidth(), artGrid->GetHeight());
        if (artGrid->GetParent() != nullptr)
            artGrid->DetachSelf();
        artGrid->Move(0, 0);
        m_artHolder->AddWidget(artGrid);
    }
    m_artHolder->SetRecursiveTransform(true);
    m_artHolder->SetRecursiveColor(1);
    AddObject(L"art", m_artHolder);
}

void LevelCompleteMenu::RecordProgress(int mistakes, int hintsUsed)
{
    PlayerState* state = GetCurrentPlayerState();
    if (state == nullptr)
        return;
    PuzzleProgress* progress = state->EnsurePuzzle(m_mode, m_set, m_puzzle);
    if (progress == nullptr)
        return;
    if (m_firstSet) {
        progress->completed = true;
        m_nextPuzzle = m_puzzle + 1;
        if (m_nextPuzzle < gPuzzleTable.PuzzleCount(m_mode, m_set)) {
            if (SetProgress* setProgress = state->EnsureSet(m_mode, m_set))
                setProgress->unlock = std::max(setProgress->unlock, m_puzzle + 2);
        } else {
            m_nextSet = m_set + 1;
            if (SetProgress* next = state->EnsureSet(0, 1))
                next->unlock = std::max(next->unlock, 1);
            state->currentCountry = m_nextSet;
        }
        return;
    }
    SetVariable(L"was_completed", Value(progress->completed));
    SetVariable(L"was_without_hints", Value(progress->withoutHints));
    SetVariable(L"was_without_mistakes", Value(progress->withoutMistakes));
    SetVariable(L"without_hints", Value(hintsUsed == 0));
    SetVariable(L"without_mistakes", Value(mistakes == 0));
    SetVariable(L"is_completed", Value(m_firstSolve));
    progress->withoutHints = hintsUsed == 0;
    progress->withoutMistakes = mistakes == 0;
    if (!m_firstSolve)
        return;
    // The solve and what it opens are the player's from now on, however the
    // game ends: the choice and the story only show them on "ok".
    progress->completed = true;
    SetProgress* setProgress = state->EnsureSet(m_mode, m_set);
    if (!IsLastOfSet()) {
        // The last open puzzle opens the next; the puzzle choice shows it open.
        if (setProgress != nullptr && m_puzzle == setProgress->unlock - 1)
            ++setProgress->unlock;
        return;
    }
    const int target = std::min(m_set + 1, MyBoard::GetSetCount(m_mode) - 1);
    if (target > m_set)
        if (SetProgress* next = state->EnsureSet(m_mode, target))
            ++next->unlock;
    if (m_mode == 0 && m_set + 1 == GetConstantInt(L"sets_before_extra_puzzles"))
        if (SetProgress* bonus = state->EnsureSet(1, 0);
            bonus && bonus->unlock < std::numeric_limits<int>::max())
            ++bonus->unlock;
}

bool LevelCompleteMenu::IsLastOfSet() const
{
    return m_puzzle + 1 >= gPuzzleTable.PuzzleCount(m_mode, m_set);
}

Animator::Outcome LevelCompleteMenu::HandleCommand(const ScriptCommand& command)
{
    const Outcome outcome = RunHostWord(HostWords(), command.m_name, *this);
    return outcome != Outcome::NotMine ? outcome : LevelStatusMenu::HandleCommand(command);
}

std::span<const LevelCompleteMenu::HostWord> LevelCompleteMenu::HostWords()
{
    // "wait-for-art" holds the script until the picture is revealed (Update).
    static constexpr HostWord rows[] = {
        {L"wait-for-art",
         [](LevelCompleteMenu& menu) {
             menu.SetWait(Wait::ScreenHost);
             return Outcome::Suspend;
         }},
    };
    return rows;
}

void LevelCompleteMenu::Update()
{
    LevelStatusMenu::Update();
    if (GetWait() == Wait::ScreenHost && (m_artGrid == nullptr || m_artGrid->IsRevealed()))
        RunScript(true);
}

void LevelCompleteMenu::Signal(int id, const std::wstring& message)
{
    LevelStatusMenu::Signal(id, message);
    if (message != L"summary_shown" || m_firstSet || !m_firstSolve || !IsLastOfSet())
        return;
    // The bonus puzzle this solve opened is announced once the summary shows.
    if (m_mode == 0) {
        if (m_set + 1 != GetConstantInt(L"sets_before_extra_puzzles"))
            return;
        (new NoticeMenu(GetApp(), L"unlocked_bonus", nullptr, L"menu"))->Show();
    } else if (m_set + 1 == MyBoard::GetSetCount(m_mode)) {
        (new NoticeMenu(GetApp(), L"completed_bonus", nullptr, L"menu"))->Show();
    }
}

void LevelCompleteMenu::Close()
{
    if (!BeginClosing())
        return;
    PlayerState* state = GetCurrentPlayerState();
    MyGameApp& app = GetGame();
    if (m_firstSet && m_nextSet < 0) {
        MyPlayPuzzleMenu::Open(app, m_mode, m_set, m_nextPuzzle, true);
    } else if (m_firstSet) {
        if (state != nullptr) {
            state->currentMode = m_mode;
            state->currentCountry = m_nextSet;
        }
        (new SetLoadingMenu(app, -1))->Show();
    } else {
        if (state != nullptr) {
            state->currentMode = m_mode;
            state->currentCountry = m_set;
        }
        // The solve was recorded when the dialog opened: here it is only shown.
        if (!m_firstSolve)
            (new SetLoadingMenu(app, -1))->Show();
        else if (IsLastOfSet() && m_mode == 1)
            (new SelectSetMenu(app, 1))->Show();
        else if (IsLastOfSet() && m_set + 1 >= MyBoard::GetSetCount(0))
            app.ShowStoryFinal();
        else
            (new PuzzleSelectMenu(app, m_mode, m_set, m_puzzle, false))->Show();
    }
    RemoveSelf();
}
