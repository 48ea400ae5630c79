#include "game/ConfirmDeleteMenu.h"

#include "base/Common.h"
#include "game/MyGameApp.h"
#include "game/PlayerSelectMenu.h"
#include "resources/Localization.h"

ConfirmDeleteMenu::ConfirmDeleteMenu(MyGameApp& app, const std::wstring& profileName, PlayerSelectMenu* asker)
    : ShadedConfirmMenu(app, Localize(L"delete_title"), StrFormatW(Localize(L"delete_text"), profileName),
                        L"button_delete", L"button_cancel", nullptr),
      m_asker(asker)
{
}

void ConfirmDeleteMenu::Confirm()
{
    if (m_asker != nullptr)
        m_asker->DeleteSelected();
    CloseOnce();
}
