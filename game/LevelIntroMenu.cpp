#include "game/LevelIntroMenu.h"

#include "base/Common.h"
#include "game/MyGameApp.h"
#include "graphics/Image.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileManager.h"
#include "resources/Assets.h"
#include "ui/Checkbox.h"
#include "ui/ScriptCommand.h"

LevelIntroMenu::LevelIntroMenu(MyGameApp& app, int mode, int set, int puzzle)
    : InterpreterMenu(app, L""), m_game(app), m_mode(mode), m_set(set), m_puzzle(puzzle)
{
    // Started here, not by the base, so that a missing script reaches this
    // class's OnEmptyScript.
    PlayAnimationByName(ScriptName(set, puzzle));
}

std::wstring LevelIntroMenu::ScriptName(int set, int puzzle)
{
    return StrFormatW(L"intro_%d_%d", set + 1, puzzle + 1);
}

Animator::Outcome LevelIntroMenu::HandleCommand(const ScriptCommand& command)
{
    const Outcome outcome = RunHostWord(HostWords(), command.m_name, *this);
    return outcome != Outcome::NotMine ? outcome : InterpreterMenu::HandleCommand(command);
}

std::span<const LevelIntroMenu::HostWord> LevelIntroMenu::HostWords()
{
    static constexpr HostWord rows[] = {
        {L"checkbox", [](LevelIntroMenu& menu) { menu.AddCheckbox(); }},
    };
    return rows;
}

void LevelIntroMenu::AddCheckbox()
{
    auto* box = new Checkbox(::GetImage(L"Checkbox"), ::GetImage(L"Checkbox_hover"),
                             ::GetImage(L"Checkbox_checked"), ::GetImage(L"Checkbox_Checked_hover"), this);
    const Image* image = ::GetImage(L"Checkbox");
    box->Resize(ReadInt(L"x"), ReadInt(L"y"), image != nullptr ? image->GetCellWidth() : 0,
                image != nullptr ? image->GetCellHeight() : 0);
    const PlayerState* state = GetCurrentPlayerState();
    box->SetChecked(state != nullptr && state->disableTips, false);
    // A second box replaces the first.
    if (m_checkbox != nullptr)
        m_checkbox->RemoveSelf();
    m_checkbox = box;
    AddWidget(box);
}

void LevelIntroMenu::CheckboxChecked(int id, bool checked)
{
    if (m_checkbox == nullptr || id != m_checkbox->GetId())
        return;
    // Kept with the next save of the profiles, as every option of the player is.
    if (PlayerState* state = GetCurrentPlayerState())
        state->disableTips = checked;
}

void LevelIntroMenu::HandleAction(const std::wstring& action, const std::wstring&, DynamicWidget*)
{
    if (action != L"ok" || IsRemoveRequested())
        return;
    RemoveSelf();
    StartPlay();
}

void LevelIntroMenu::OnEmptyScript()
{
    // Possibly still inside the constructor: the removal is only marked and
    // carried out once the page is shown.
    m_startPlay = true;
    RemoveSelf();
}

void LevelIntroMenu::RemovedFromManager(WidgetManager* manager)
{
    if (m_startPlay) {
        m_startPlay = false;
        StartPlay();
    }
    InterpreterMenu::RemovedFromManager(manager);
}

void LevelIntroMenu::StartPlay()
{
    m_game.ShowPlayScreen(m_mode, m_set, m_puzzle);
}
