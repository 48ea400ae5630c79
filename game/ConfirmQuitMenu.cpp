#include "game/ConfirmQuitMenu.h"

#include "app/GameApp.h"
#include "resources/Localization.h"

ConfirmQuitMenu::ConfirmQuitMenu()
    : ShadedConfirmMenu(Localize(L"quit_title"), Localize(L"quit_text"), L"button_quit", L"button_cancel",
                        nullptr)
{
}

void ConfirmQuitMenu::Confirm()
{
    // The dialog stays up: the application closes everything as it ends.
    if (gApp != nullptr)
        gApp->Shutdown();
}
