#include "game/PuzzleSelectMenu.h"

#include "base/Common.h"
#include "game/MapMenu.h"
#include "game/MyGameApp.h"
#include "game/ScreenTransition.h"
#include "game/SelectSetMenu.h"
#include "graphics/Image.h"
#include "graphics/ImageSurface.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/SetTable.h"
#include "puzzle/SmallArtGrid.h"
#include "resources/Assets.h"
#include "resources/Constants.h"
#include "resources/Localization.h"
#include "ui/ButtonWidget.h"
#include "ui/TextLabel.h"

#include <algorithm>

namespace {

constexpr int kBringForwardPriority = 100;
// Where a puzzle's preview stands in the preview panel.
constexpr int kPreviewX = 1;
constexpr int kPreviewY = 4;

} // namespace

PuzzleSelectMenu::PuzzleSelectMenu(MyGameApp& app, int mode, int set, int solvedPuzzle, bool fromConfirmation)
    : InterpreterMenu(app, L"puzzle_select"), m_game(app), m_mode(mode), m_set(set),
      m_solvedPuzzle(solvedPuzzle), m_fromConfirmation(fromConfirmation)
{
    SetWrapForShow(true);
    SetPauseInBackground(true);
    Attach(GetListenerLink());
    PlayerState* state = GetCurrentPlayerState();
    if (state != nullptr) {
        if (const SetRecord* record = gSetTable.Find(state->currentMode, state->currentCountry))
            m_setName = record->name;
    }

    AddWidget(new AnimationWidget(0, 0, ::GetImage(L"bg_puzzleselect"), 1.0f));
    AddWidget(new AnimationWidget(GetConstantInt(L"set_preview_x"), GetConstantInt(L"set_preview_y"),
                                  ::GetImage(m_setName + L"_select"), 1.0f));
    SetVariable(L"set_name", Value(m_setName));
    SetVariable(L"mode", Value(state != nullptr ? state->currentMode : mode));

    m_previewPanel = new AnimationWidget(L"", GetConstantInt(L"puzzle_preview_left"),
                                         GetConstantInt(L"puzzle_preview_top"), false);
    m_previewPanel->SetImage(::GetImage(L"ui_Preview"));
    const int panelWidth = m_previewPanel->GetWidth();
    m_nameLabel = new TextLabel(L"", panelWidth / 2 - 4, GetConstantInt(L"puzzle_preview_name_y"), L"tiny3", 0, 0, 0, -1);
    m_timeLabel = new TextLabel(L"", panelWidth / 2, GetConstantInt(L"puzzle_preview_time_y"), L"tiny", 0, 0, 0, -1);
    m_previewPanel->AddWidget(m_nameLabel);
    m_previewPanel->AddWidget(m_timeLabel);
    AddWidget(m_previewPanel);

    // The result of the puzzle just solved: the last open puzzle opens the
    // next one, or completes the set.
    SetProgress* progress = state != nullptr ? state->EnsureSet(mode, set) : nullptr;
    const int unlock = progress != nullptr ? progress->unlock : 0;
    const int completedBefore = state != nullptr ? state->CountCompletedPuzzles(mode, set) : 0;
    if (state != nullptr && solvedPuzzle >= 0) {
        if (PuzzleProgress* puzzle = state->EnsurePuzzle(mode, set, solvedPuzzle))
            puzzle->completed = true;
        if (solvedPuzzle == unlock - 1 && progress != nullptr) {
            if (unlock < gPuzzleTable.PuzzleCount(mode, set))
                progress->unlock = unlock + 1;
            else
                m_completedSet = set;
        }
    }

    if (mode == 0) {
        m_levelWidget = new AnimationWidget(L"puzzle_preview", 0, 0, false);
        m_levelWidget->SetVariable(L"old_complete_level", Value(solvedPuzzle >= 0 ? solvedPuzzle : completedBefore));
        m_levelWidget->SetVariable(L"new_complete_level", Value(completedBefore));
        m_levelWidget->SetVariable(L"completed_set", Value(m_completedSet == set));
        m_levelWidget->SetVariable(L"set_name", Value(m_setName));
        AddWidget(m_levelWidget);
        Attach(m_levelWidget->GetListenerLink());
    }
    m_starsWidget = new AnimationWidget(L"", 0, 0, false);
    AddWidget(m_starsWidget);
    m_completedMainSets = state != nullptr ? state->CountCompletedSets(0) : 0;
    MakeSetCurrent(set);
    BuildIcons();
}

std::wstring PuzzleSelectMenu::PuzzleIdText(int mode, int set, int puzzle)
{
    return StrFormatW(L"%s%d-%c", mode == 1 ? L"X" : L"", set + 1, static_cast<wchar_t>(L'A' + puzzle));
}

SetProgress* PuzzleSelectMenu::Progress() const
{
    PlayerState* state = GetCurrentPlayerState();
    return state != nullptr ? state->EnsureSet(m_mode, m_set) : nullptr;
}

void PuzzleSelectMenu::MakeSetCurrent(int set)
{
    m_set = set;
    PlayerState* state = GetCurrentPlayerState();
    if (m_mode == 0 && state != nullptr)
        state->currentCountry = set;
    SetProgress* progress = Progress();
    m_visibleCount = progress != nullptr ? static_cast<int>(progress->puzzles.size()) : 0;
    m_shownPuzzle = -1;
    if (progress != nullptr && set < gSetTable.SetCount(m_mode)) {
        progress->unlock = std::min(progress->unlock, gPuzzleTable.PuzzleCount(m_mode, set));
        m_visibleCount = progress->unlock;
    }
    if (progress != nullptr)
        progress->introduced = true;
}

void PuzzleSelectMenu::BuildIcons()
{
    SaveProfiles();
    for (Icon& icon : m_icons) {
        if (icon.button != nullptr)
            icon.button->RemoveSelf();
        if (icon.preview != nullptr)
            icon.preview->RemoveSelf();
    }
    m_icons.clear();
    if (m_newPuzzleFlash != nullptr) {
        m_newPuzzleFlash->RemoveSelf();
        m_newPuzzleFlash = nullptr;
    }

    const PlayerState* state = GetCurrentPlayerState();
    const int count = gPuzzleTable.PuzzleCount(m_mode, m_set);
    const int left = GetConstantInt(L"puzzle_icon_left");
    const int rowCount = GetConstantInt(L"puzzle_icon_row_count");
    int x = left;
    int y = GetConstantInt(L"puzzle_icon_top");
    int firstUnsolved = count - 1;
    int lastSolved = 0;
    for (int i = 0; i < count; ++i) {
        const PuzzleRecord* record = gPuzzleTable.Find(m_mode, m_set, i);
        const PuzzleProgress progress = state != nullptr ? state->GetPuzzle(m_mode, m_set, i) : PuzzleProgress{};
        Icon icon;
        icon.rows = record != nullptr ? record->GridSize() : 0;
        icon.idText = PuzzleIdText(m_mode, m_set, i);
        icon.puzzleName = record != nullptr ? record->name : std::wstring();
        if (i < m_visibleCount) {
            icon.preview = new SmallArtGrid(record != nullptr ? record->picture : std::vector<std::vector<int>>{},
                                            kPreviewX, kPreviewY, progress.completed);
            icon.preview->SetVisible(false);
            m_previewPanel->AddWidget(icon.preview);
            if (!progress.completed) {
                icon.button = new ButtonWidget(x, y, L"ui_Puzzle_Current", L"", false);
                firstUnsolved = std::min(firstUnsolved, i);
            } else {
                icon.button = new ButtonWidget(x, y, L"ui_Puzzle_Complete", L"", false);
                Widget* thumbnail = m_game.CreatePuzzleIcon(m_mode, m_set, i, i == m_solvedPuzzle,
                                                            icon.button->GetWidth() / 2 + 1,
                                                            icon.button->GetHeight() / 2 + 1);
                if (thumbnail != nullptr)
                    icon.button->AddWidget(thumbnail);
                icon.bestTime = progress.bestTime;
                lastSolved = std::max(lastSolved, i);
            }
        } else {
            icon.button = new ButtonWidget(x, y, L"ui_Puzzle_Incomplete", L"", false);
            icon.button->SetDisabled(true);
        }
        icon.button->SetButtonListener(this);
        AddWidget(icon.button);
        m_icons.push_back(icon);
        x += GetConstantInt(L"puzzle_icon_spacing_x");
        if (rowCount > 0 && (i + 1) % rowCount == 0) {
            y += GetConstantInt(L"puzzle_icon_spacing_y");
            x = left;
        }
    }

    ShowPuzzleInfo(m_solvedPuzzle >= 0 ? m_solvedPuzzle : lastSolved);
    const SetProgress* progress = Progress();
    const int unlock = progress != nullptr ? progress->unlock : 0;
    if (firstUnsolved >= 0 && firstUnsolved < count && state != nullptr &&
        !state->IsCompleted(m_mode, m_set, firstUnsolved) && firstUnsolved <= unlock) {
        const ButtonWidget* target = m_icons[static_cast<size_t>(firstUnsolved)].button;
        m_newPuzzleFlash = new AnimationWidget(L"new_puzzle_flash", static_cast<int>(target->GetX()),
                                               static_cast<int>(target->GetY()), false);
        AddWidget(m_newPuzzleFlash);
    }
}

void PuzzleSelectMenu::ShowPuzzleInfo(int puzzle)
{
    if (m_shownPuzzle >= 0 && m_shownPuzzle < static_cast<int>(m_icons.size())) {
        if (SmallArtGrid* preview = m_icons[static_cast<size_t>(m_shownPuzzle)].preview)
            preview->SetVisible(false);
    }
    m_nameLabel->SetText(L"");
    m_timeLabel->SetText(L"");
    if (puzzle < 0 || puzzle >= static_cast<int>(m_icons.size()))
        return;
    const Icon& icon = m_icons[static_cast<size_t>(puzzle)];
    if (icon.IsOpen()) {
        icon.preview->SetVisible(true);
        if (icon.bestTime < 0) {
            m_nameLabel->SetText(Localize(L"exhibit_name_unbeaten"));
            m_timeLabel->SetText(Localize(L"exhibit_time_unbeaten"));
        } else {
            m_nameLabel->SetText(Localize(icon.puzzleName));
            m_timeLabel->SetText(StrFormatW(Localize(L"exhibit_time"), icon.bestTime / 60, icon.bestTime % 60));
        }
    }
    const PlayerState* state = GetCurrentPlayerState();
    const PuzzleProgress progress = state != nullptr ? state->GetPuzzle(m_mode, m_set, puzzle) : PuzzleProgress{};
    m_starsWidget->SetVariable(L"show_complete_star", Value(progress.completed));
    m_starsWidget->SetVariable(L"show_hint_star", Value(progress.withoutHints));
    m_starsWidget->SetVariable(L"show_mistake_star", Value(progress.withoutMistakes));
    m_starsWidget->PlayAnimationByName(L"update_puzzle_select_stars");
    m_shownPuzzle = puzzle;
}

Widget* PuzzleSelectMenu::WrapForShow()
{
    if (m_fromConfirmation)
        return InterpreterMenu::WrapForShow();
    // Its script tells this menu when the screen is uncovered
    // ("transition_complete").
    auto* transition = new ScreenTransition(*this, L"puzzle_select_transition");
    Attach(transition->GetListenerLink());
    return transition;
}

int PuzzleSelectMenu::FindIcon(int buttonId) const
{
    for (size_t i = 0; i < m_icons.size(); ++i) {
        if (m_icons[i].button != nullptr && m_icons[i].button->GetId() == buttonId)
            return static_cast<int>(i);
    }
    return -1;
}

void PuzzleSelectMenu::ButtonMouseEnter(int id)
{
    const int puzzle = FindIcon(id);
    if (!m_hoverEnabled || puzzle < 0)
        return;
    m_icons[static_cast<size_t>(puzzle)].button->PlayAnimationByName(L"puzzle_mouse_over");
    if (puzzle != m_shownPuzzle)
        ShowPuzzleInfo(puzzle);
}

void PuzzleSelectMenu::ButtonMouseLeave(int id)
{
    const int puzzle = FindIcon(id);
    if (puzzle >= 0)
        m_icons[static_cast<size_t>(puzzle)].button->PlayAnimationByName(L"puzzle_mouse_leave");
}

void PuzzleSelectMenu::ButtonDepress(int id)
{
    const int puzzle = FindIcon(id);
    if (puzzle >= 0 && m_icons[static_cast<size_t>(puzzle)].IsOpen())
        ChoosePuzzle(puzzle);
}

void PuzzleSelectMenu::ChoosePuzzle(int puzzle)
{
    const PlayerState* state = GetCurrentPlayerState();
    if (state == nullptr)
        return;
    const int maxIntroSet = GetConstantInt(L"max_intro_set");
    const bool introduced = m_set < maxIntroSet || (m_set == maxIntroSet && puzzle < GetConstantInt(L"max_intro_puzzle"));
    const bool opened = m_mode == 0 && introduced && !state->disableTips
                            ? m_game.ShowLevelIntro(m_mode, m_set, puzzle)
                            : m_game.ShowPlayScreen(m_mode, m_set, puzzle);
    if (opened)
        RemoveSelf();
}

void PuzzleSelectMenu::ShowMap(const std::wstring& setName)
{
    CaptureScreen(true);
    (new MapMenu(m_game, GetCapturedImage(), setName))->Show();
    RemoveSelf();
}

void PuzzleSelectMenu::HandleAction(const std::wstring& action, const std::wstring&, DynamicWidget*)
{
    if (action != L"world_map")
        return;
    const PlayerState* state = GetCurrentPlayerState();
    if (state != nullptr && state->currentMode != 0) {
        (new SelectSetMenu(m_game, 1))->Show();
        RemoveSelf();
        return;
    }
    ShowMap(L"");
}

void PuzzleSelectMenu::Signal(int, const std::wstring& message)
{
    const int lastSet = gSetTable.SetCount(m_mode) - 1;
    if (message == L"transition_complete") {
        if (m_mode == 0 && m_completedSet == m_set && m_set == lastSet) {
            m_game.ShowStoryFinal();
            return;
        }
        BuildIcons();
        SetMouseVisible(true);
    } else if (message == L"puzzle_animation_complete") {
        if (m_completedSet != m_set)
            return;
        if (PlayerState* state = GetCurrentPlayerState())
            state->currentCountry = std::max(0, std::min(m_set + 1, lastSet));
        ShowMap(m_setName);
    } else if (message == L"bring_puzzle_forward") {
        if (m_levelWidget != nullptr) {
            m_levelWidget->SetPriority(kBringForwardPriority);
            SortWidgets();
        }
    }
}
