#include "game/EnterNameMenu.h"

#include "game/MyGameApp.h"
#include "game/MyTitleScreen.h"
#include "game/ProfileNameWidget.h"
#include "graphics/FontTable.h"
#include "graphics/Graphics.h"
#include "platform/KeyCodes.h"
#include "puzzle/ProfileManager.h"
#include "resources/Assets.h"
#include "resources/Constants.h"
#include "resources/Localization.h"
#include "ui/ButtonWidget.h"
#include "ui/EditWidget.h"
#include "ui/WidgetManager.h"

namespace {

// The name field lies on the well drawn in the panel; the OK button is
// centred on its x beside it.
constexpr int kFieldX = 30;
constexpr int kFieldY = 90;
constexpr int kFieldWidth = 200;
constexpr int kFieldHeight = 35;
constexpr int kOkX = 250;
constexpr int kOkY = 82;
constexpr int kPromptY = 75;

} // namespace

EnterNameMenu::EnterNameMenu(MyGameApp& app, MyTitleScreen* owner)
    : Menu(app, ::GetImage(L"EnterName"), true, true), m_owner(owner)
{
    m_nameField = new EditWidget(this);
    m_nameField->Resize(kFieldX, kFieldY, kFieldWidth, kFieldHeight);
    m_nameField->SetFont(GetFont(L"hud_title"), false);
    // The box itself stops at the rule's length, so a long paste ends there.
    m_nameField->SetMaxChars(ProfileNameWidget::kMaxNameLength);
    m_nameField->SetColor(0, Color(0, 0, 0, 0));
    m_nameField->SetColor(1, Color(0, 0, 0, 0));
    m_nameField->SetColor(2, Color(255, 255, 255));
    m_nameField->SetColor(3, Color(GetConstantInt(L"enter_name_highlight_red"), GetConstantInt(L"enter_name_highlight_green"),
                                   GetConstantInt(L"enter_name_highlight_blue")));
    m_nameField->SetColor(4, Color(255, 255, 255));
    AddWidget(m_nameField);
    m_okButton = AddButton(kOkX, kOkY, L"enter_name_btn", L"", false);
    m_okButton->Move(static_cast<float>(kOkX - m_okButton->GetWidth() / 2), static_cast<float>(kOkY));
    m_okButton->SetButtonListener(this);
}

void EnterNameMenu::AddedToManager(WidgetManager* manager)
{
    Menu::AddedToManager(manager);
    if (!IsRemoveRequested())
        manager->SetFocus(m_nameField);
}

bool EnterNameMenu::AllowChar(int id, wchar_t ch)
{
    if (id != m_nameField->GetId())
        return true;
    return ProfileNameWidget::AllowNameChar(m_nameField->GetText(), ch);
}

bool EnterNameMenu::AllowKey(int id, int key)
{
    if (id != m_nameField->GetId() || key != KeyCode::Enter || m_nameField->GetText().empty())
        return true;
    CreateProfile();
    return false;
}

bool EnterNameMenu::AllowText(int id, const std::wstring& text)
{
    // Each character was asked for, but an edit elsewhere in the name (a
    // blank typed at its start, the first character deleted) can still
    // break the rule: such an edit is undone.
    return id != m_nameField->GetId() || ProfileNameWidget::FollowsNameRule(text);
}

void EnterNameMenu::EditWidgetText(int, const std::wstring&) {}

void EnterNameMenu::ButtonDepress(int id)
{
    if (id == m_okButton->GetId())
        CreateProfile();
}

void EnterNameMenu::CreateProfile()
{
    const std::wstring name = m_nameField->GetText();
    if (name.empty() || IsRemoveRequested())
        return;
    ProfileManager::CreateProfile(name);
    SaveProfiles();
    RemoveSelf();
    if (m_owner != nullptr && gTitleScreen == m_owner)
        m_owner->Close();
}

void EnterNameMenu::Draw(Graphics* g)
{
    Menu::Draw(g);
    g->SetFont(GetFont(L"menu"));
    g->SetColor(Color(255, 255, 255));
    g->WriteString(Localize(L"enter_your_name"), 0, kPromptY, GetWidth(), 0);
}
