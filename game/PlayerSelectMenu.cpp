#include "game/PlayerSelectMenu.h"

#include "game/MyBoard.h"
#include "game/MyGameApp.h"
#include "game/ProfileNameWidget.h"
#include "graphics/FontTable.h"
#include "graphics/Graphics.h"
#include "puzzle/ProfileList.h"
#include "puzzle/ProfileManager.h"
#include "resources/Assets.h"
#include "resources/Constants.h"
#include "resources/Localization.h"
#include "ui/ButtonWidget.h"
#include "ui/WidgetManager.h"

namespace {

constexpr int kButtonRowY = 590;
constexpr int kOkButtonGap = 30;
// The outer buttons stand this far in from the screen's quarters.
constexpr int kOuterButtonInset = 60;

} // namespace

PlayerSelectMenu::PlayerSelectMenu(MyGameApp& app)
    : Menu(app, ::GetImage(L"TitleBackground"), false, false), m_game(app)
{
    SetWrapForShow(true);
    if (GetWidth() == 0)
        Resize(0, 0, app.GetWidth(), app.GetHeight());
    const int width = app.GetWidth();
    m_menuButton = AddCentredMenuButton(width / 4 + kOuterButtonInset, kButtonRowY, L"button_menu");
    m_deleteButton = AddCentredMenuButton(width / 2, kButtonRowY, L"button_delete");
    m_playButton = AddCentredMenuButton(3 * width / 4 - kOuterButtonInset, kButtonRowY, L"button_play");

    const int top = GetConstantInt(L"profile_buttons_top");
    const int spacing = GetConstantInt(L"profile_buttons_spacing");
    for (int slot = 0; slot < kSlots; ++slot) {
        const std::wstring name =
            gProfileList.IsValidSlot(slot) ? gProfileList.records[static_cast<size_t>(slot)].name : std::wstring();
        auto* nameButton = new ProfileNameWidget(width / 2, top + slot * spacing, name, this);
        nameButton->SetButtonListener(this);
        AddWidget(nameButton);
        m_nameButtons[static_cast<size_t>(slot)] = nameButton;
        ButtonWidget* ok = AddButton(static_cast<int>(nameButton->GetX()) + nameButton->GetWidth() + kOkButtonGap,
                                     static_cast<int>(nameButton->GetY()), L"profile_ok_btn", L"", false);
        ok->SetButtonListener(this);
        ok->SetVisible(false);
        m_okButtons[static_cast<size_t>(slot)] = ok;
    }
    m_selectedSlot = gProfileList.selected;
    if (m_selectedSlot >= 0 && m_selectedSlot < kSlots)
        m_nameButtons[static_cast<size_t>(m_selectedSlot)]->Refresh();
    else
        m_selectedSlot = -1;
    UpdateButtons();
}

ButtonWidget* PlayerSelectMenu::AddCentredMenuButton(int x, int y, const std::wstring& label)
{
    auto* button = dynamic_cast<ButtonWidget*>(AddMenuButton(x, y, label));
    if (button == nullptr)
        return nullptr;
    button->Move(static_cast<float>(x - button->GetWidth() / 2), static_cast<float>(y));
    button->SetButtonListener(this);
    return button;
}

void PlayerSelectMenu::ButtonDepress(int id)
{
    if (m_menuButton != nullptr && id == m_menuButton->GetId()) {
        if (MyBoard* board = m_game.GetMyBoard())
            board->ShowMainMenu();
        RemoveSelf();
        return;
    }
    if (m_deleteButton != nullptr && id == m_deleteButton->GetId()) {
        if (m_selectedSlot < 0)
            return;
        m_game.ShowConfirmDelete(m_nameButtons[static_cast<size_t>(m_selectedSlot)]->GetName(), this);
        return;
    }
    if (m_playButton != nullptr && id == m_playButton->GetId()) {
        SaveProfiles();
        RemoveSelf();
        if (MyBoard* board = m_game.GetMyBoard())
            board->StartGame();
        return;
    }
    for (int slot = 0; slot < kSlots; ++slot) {
        if (id == m_nameButtons[static_cast<size_t>(slot)]->GetId()) {
            if (slot != m_selectedSlot)
                SelectSlot(slot);
            return;
        }
        if (slot == m_selectedSlot && id == m_okButtons[static_cast<size_t>(slot)]->GetId()) {
            EndEditing(true);
            return;
        }
    }
}

void PlayerSelectMenu::SelectSlot(int slot)
{
    if (m_selectedSlot >= 0) {
        m_nameButtons[static_cast<size_t>(m_selectedSlot)]->Deselect();
        EndEditing(false);
    }
    m_selectedSlot = slot;
    ProfileNameWidget* button = m_nameButtons[static_cast<size_t>(slot)];
    button->Refresh();
    WidgetManager* manager = GetManager();
    if (button->HasNoName()) {
        button->SetEditing(true);
        if (manager != nullptr)
            manager->SetFocus(button);
        m_okButtons[static_cast<size_t>(slot)]->SetVisible(true);
    } else if (manager != nullptr) {
        manager->SetFocus(this);
    }
    UpdateButtons();
}

void PlayerSelectMenu::FinishEditing()
{
    if (m_selectedSlot >= 0)
        EndEditing(true);
}

void PlayerSelectMenu::EndEditing(bool staysSelected)
{
    ProfileNameWidget* button = m_nameButtons[static_cast<size_t>(m_selectedSlot)];
    button->SetEditing(false);
    m_okButtons[static_cast<size_t>(m_selectedSlot)]->SetVisible(false);
    if (WidgetManager* manager = GetManager())
        manager->SetFocus(this);
    UpdateButtons();
    // A slot left without a name is no selection; a named one that stays selected shows it.
    if (button->HasNoName()) {
        button->Deselect();
        m_selectedSlot = -1;
    } else if (staysSelected) {
        button->Refresh();
    }
}

void PlayerSelectMenu::UpdateButtons()
{
    const bool named = m_selectedSlot >= 0 && !m_nameButtons[static_cast<size_t>(m_selectedSlot)]->HasNoName();
    if (named) {
        const bool changed = gProfileList.selected != m_selectedSlot ||
                             gProfileList.records[static_cast<size_t>(m_selectedSlot)].name !=
                                 m_nameButtons[static_cast<size_t>(m_selectedSlot)]->GetName();
        SetProfileNameChecked(m_selectedSlot, m_nameButtons[static_cast<size_t>(m_selectedSlot)]->GetName());
        ProfileManager::SelectProfile(m_selectedSlot);
        // The choice of player (or a new one) is kept at once.
        if (changed)
            SaveProfiles();
    } else {
        if (m_selectedSlot >= 0)
            SetProfileNameChecked(m_selectedSlot, L"");
        ProfileManager::SelectProfile(-1);
    }
    for (ButtonWidget* button : {m_menuButton, m_deleteButton, m_playButton}) {
        if (button != nullptr)
            button->SetVisible(named);
    }
}

void PlayerSelectMenu::DeleteSelected()
{
    if (m_selectedSlot < 0)
        return;
    m_nameButtons[static_cast<size_t>(m_selectedSlot)]->ClearName();
    UpdateButtons();
    m_selectedSlot = -1;
    // No player is chosen until the player picks one: the way on and back to
    // the menu stays hidden until then. The deletion itself is kept at once.
    SaveProfiles();
}

void PlayerSelectMenu::Draw(Graphics* g)
{
    Menu::Draw(g);
    g->SetFont(GetFont(L"menu_title"));
    g->SetColor(Color(255, 255, 255));
    g->WriteString(Localize(L"choose_title"), 0, GetConstantInt(L"player_select_text_y"), GetWidth(), 0);
}
