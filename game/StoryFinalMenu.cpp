#include "game/StoryFinalMenu.h"

#include "base/Common.h"
#include "game/CreditsMenu.h"
#include "game/MyGameApp.h"
#include "game/PlayerName.h"
#include "resources/Localization.h"

StoryFinalMenu::StoryFinalMenu(MyGameApp& app) : InterpreterMenu(app, L"story_final"), m_game(app)
{
    SetWrapForShow(true);
    SetVariable(L"letter_start", Value(StrFormatW(Localize(L"final_letter_start"), CurrentPlayerName())));
    SetVariable(L"letter_end", Value(Localize(L"final_letter_end")));
}

void StoryFinalMenu::HandleAction(const std::wstring& action, const std::wstring&, DynamicWidget*)
{
    if (action != L"ok")
        return;
    (new CreditsMenu(m_game))->Show();
    RemoveSelf();
}
