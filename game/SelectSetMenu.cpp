#include "game/SelectSetMenu.h"

#include "base/Common.h"
#include "game/MyBoard.h"
#include "game/MyGameApp.h"
#include "game/SetLoadingMenu.h"
#include "graphics/FontTable.h"
#include "graphics/Graphics.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/SetTable.h"
#include "resources/Localization.h"
#include "ui/ButtonWidget.h"
#include "ui/ScriptCommand.h"

#include <algorithm>

namespace {

constexpr float kButtonScaleX = 1.1f;
constexpr int kLeftJustified = -1;

} // namespace

SelectSetMenu::SelectSetMenu(MyGameApp& app, int mode)
    : InterpreterMenu(app, L"select_set"), m_game(app), m_mode(mode)
{
    SetWrapForShow(true);
    const PlayerState* state = GetCurrentPlayerState();
    m_completedMainSets = state != nullptr ? state->CountCompletedSets(0) : 0;
}

Animator::Outcome SelectSetMenu::HandleCommand(const ScriptCommand& command)
{
    const Outcome outcome = RunHostWord(HostWords(), command.m_name, *this);
    return outcome != Outcome::NotMine ? outcome : InterpreterMenu::HandleCommand(command);
}

std::span<const SelectSetMenu::HostWord> SelectSetMenu::HostWords()
{
    static constexpr HostWord rows[] = {
        {L"set-info", [](SelectSetMenu& menu) { menu.SetInfo(); }},
        {L"set-column", [](SelectSetMenu& menu) { menu.AddColumn(); }},
    };
    return rows;
}

void SelectSetMenu::SetInfo()
{
    if (Has(L"x"))
        m_infoX = ReadInt(L"x");
    if (Has(L"y"))
        m_infoY = ReadInt(L"y");
    if (Has(L"width"))
        m_infoWidth = ReadInt(L"width");
    m_infoRect = Rect{m_infoX - m_infoWidth / 2, m_infoY, m_infoWidth, GetHeight()};
}

void SelectSetMenu::AddColumn()
{
    const int x = ReadInt(L"x");
    const int y = ReadInt(L"y");
    const int spacing = ReadInt(L"spacing");
    const int sets = ReadInt(L"sets");
    const PlayerState* state = GetCurrentPlayerState();
    const int first = static_cast<int>(m_setButtons.size());
    const int profileSets = state != nullptr ? state->SetCount(m_mode) : 0;
    const int limit = std::min(profileSets, gPuzzleTable.SetCount(m_mode));
    for (int k = 0; k < sets && first + k < limit; ++k) {
        const int set = first + k;
        ButtonWidget* button = AddButton(x, y + k * spacing, L"menubutton", L"", false);
        button->Move(button->GetX() - static_cast<float>(button->GetWidth() / 2), button->GetY());
        button->SetProperty(L"scale_x", kButtonScaleX);
        const SetRecord* record = gSetTable.Find(m_mode, set);
        const std::wstring name = record != nullptr ? record->name : std::wstring();
        button->SetLabel(Localize(StrFormatW(L"%s_short", name)));
        for (int buttonState = 0; buttonState < ButtonWidget::StateCount; ++buttonState)
            button->SetFont(GetFont(L"tiny"), buttonState);
        button->SetButtonListener(this);
        m_setButtons.push_back(button);
        if (state == nullptr || state->GetUnlock(m_mode, set) == 0)
            button->SetVisible(false);
    }
}

void SelectSetMenu::ButtonMouseEnter(int id)
{
    for (size_t i = 0; i < m_setButtons.size(); ++i) {
        if (m_setButtons[i]->GetId() == id) {
            m_hoveredSet = static_cast<int>(i);
            UpdateInfoText();
            return;
        }
    }
}

void SelectSetMenu::UpdateInfoText()
{
    const PlayerState* state = GetCurrentPlayerState();
    const SetRecord* record = gSetTable.Find(m_mode, m_hoveredSet);
    if (state == nullptr || record == nullptr)
        return;
    if (state->GetUnlock(m_mode, m_hoveredSet) == 0) {
        const int needed = record->unlock - m_completedMainSets;
        if (needed >= 2)
            m_infoText = StrFormatW(Localize(L"bonus_set_locked_plural"), needed);
        else if (needed == 1)
            m_infoText = Localize(L"bonus_set_locked_singular");
    } else {
        m_infoText = StrFormatW(Localize(L"bonus_set_info"), Localize(record->name),
                                state->CountCompletedPuzzles(m_mode, m_hoveredSet),
                                gPuzzleTable.PuzzleCount(m_mode, m_hoveredSet));
    }
    MarkDirty();
}

void SelectSetMenu::ButtonDepress(int id)
{
    for (size_t i = 0; i < m_setButtons.size(); ++i) {
        ButtonWidget* button = m_setButtons[i];
        if (button->GetId() != id || !button->GetHandCursor())
            continue;
        RemoveSelf();
        if (PlayerState* state = GetCurrentPlayerState()) {
            state->currentCountry = static_cast<int>(i);
            state->currentMode = m_mode;
        }
        (new SetLoadingMenu(m_game, -1))->Show();
        return;
    }
}

void SelectSetMenu::OnScriptFinished()
{
    if (MyBoard* board = m_game.GetMyBoard())
        board->ShowMainMenu();
    RemoveSelf();
}

void SelectSetMenu::Draw(Graphics* g)
{
    InterpreterMenu::Draw(g);
    if (m_hoveredSet >= 0)
        DeferOverlay(0);
}

void SelectSetMenu::DrawOverlay(Graphics* g, int)
{
    if (m_hoveredSet < 0 || m_infoText.empty())
        return;
    g->SetFont(GetFont(L"tiny"));
    g->SetColor(Color(255, 255, 255));
    g->WriteWordWrapped(m_infoRect, m_infoText, -1, kLeftJustified);
}
