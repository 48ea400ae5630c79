#include "game/StoryIntroMenu.h"

#include "base/Common.h"
#include "game/ConfirmTutorialMenu.h"
#include "game/MyGameApp.h"
#include "game/PlayerName.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileManager.h"
#include "resources/Localization.h"

StoryIntroMenu::StoryIntroMenu(MyGameApp& app) : InterpreterMenu(app, L"story_intro"), m_game(app)
{
    SetWrapForShow(true);
    const std::wstring name = CurrentPlayerName();
    // The name is only ever an argument: a name with % signs prints as itself.
    SetVariable(L"letter_start", Value(StrFormatW(Localize(L"intro_letter_start"), name, name)));
    SetVariable(L"letter_end", Value(StrFormatW(Localize(L"intro_letter_end"), name)));
}

void StoryIntroMenu::HandleAction(const std::wstring& action, const std::wstring&, DynamicWidget*)
{
    if (action != L"ok")
        return;
    if (PlayerState* state = GetCurrentPlayerState()) {
        if (SetProgress* tutorial = state->EnsureSet(0, 0))
            tutorial->introduced = true;
    }
    SaveProfiles();
    (new ConfirmTutorialMenu(m_game))->Show();
}
