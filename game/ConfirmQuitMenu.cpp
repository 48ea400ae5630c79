#include "game/ConfirmQuitMenu.h"

#include "game/MyGameApp.h"
#include "resources/Localization.h"

ConfirmQuitMenu::ConfirmQuitMenu(MyGameApp& app)
    : ShadedConfirmMenu(app, Localize(L"quit_title"), Localize(L"quit_text"), L"button_quit",
                        L"button_cancel", nullptr)
{
}

void ConfirmQuitMenu::Confirm()
{
    // The dialog stays up: the application closes everything as it ends.
    GetGame().Shutdown();
}
