#include "game/LevelStatusMenu.h"

#include "base/Common.h"
#include "game/MyGameApp.h"
#include "puzzle/PuzzleTable.h"
#include "resources/Localization.h"
#include "resources/Value.h"
#include "ui/ButtonWidget.h"
#include "ui/ScriptCommand.h"

LevelStatusMenu::LevelStatusMenu(MyGameApp& app, const std::wstring& script, int mode, int set, int puzzle,
                                 int seconds, int mistakes, int hints)
    : InterpreterMenu(app, L""), m_mode(mode), m_set(set), m_puzzle(puzzle), m_game(app), m_script(script)
{
    const PuzzleRecord* record = gPuzzleTable.Find(mode, set, puzzle);
    SetVariable(L"puzzle_name", Value(record != nullptr ? record->name : std::wstring()));
    SetVariable(L"puzzle_time",
                Value(StrFormatW(Localize(L"complete_time").c_str(), seconds / 60, seconds % 60)));
    SetVariable(L"puzzle_mistakes", Value(StrFormatW(Localize(L"complete_mistakes").c_str(), mistakes)));
    SetVariable(L"puzzle_hints", Value(StrFormatW(Localize(L"complete_hints").c_str(), hints)));
}

Animator::Outcome LevelStatusMenu::HandleCommand(const ScriptCommand& command)
{
    const Outcome outcome = RunHostWord(HostWords(), command.m_name, *this);
    return outcome != Outcome::NotMine ? outcome : InterpreterMenu::HandleCommand(command);
}

std::span<const LevelStatusMenu::HostWord> LevelStatusMenu::HostWords()
{
    static constexpr HostWord rows[] = {
        {L"add-status-button", [](LevelStatusMenu& menu) { menu.AddStatusButton(); }},
    };
    return rows;
}

void LevelStatusMenu::AddStatusButton()
{
    const std::wstring id = ReadText(L"id");
    ButtonWidget* button = GetApp().CreateMenuButton(ReadInt(L"x"), ReadInt(L"y"), ReadText(L"text"), true);
    if (button == nullptr)
        return;
    button->SetButtonListener(this);
    AddWidget(button);
    button->Move(button->GetX() - static_cast<float>(button->GetWidth() / 2), button->GetY());
    if (id == L"ok")
        m_okButton = button;
    else if (id == L"quit")
        m_quitButton = button;
}

void LevelStatusMenu::ButtonDepress(int id)
{
    const bool ok = m_okButton != nullptr && id == m_okButton->GetId();
    const bool quit = m_quitButton != nullptr && id == m_quitButton->GetId();
    // A button without a role leaves every screen where it is.
    if (!ok && !quit)
        return;
    GetApp().MarkMenusForClose();
    if (ok)
        Close();
    else
        Confirm();
    GetApp().CloseMarkedMenus();
}

void LevelStatusMenu::BeginScript()
{
    PlayAnimationByName(m_script);
}

bool LevelStatusMenu::BeginClosing()
{
    if (m_closing)
        return false;
    m_closing = true;
    return true;
}
