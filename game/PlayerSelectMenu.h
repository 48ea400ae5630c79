#pragma once

#include "app/Menu.h"

#include <array>

class ButtonWidget;
class MyGameApp;
class ProfileNameWidget;

// The eight profile slots as name buttons: pick a player, type a name into a
// free slot, delete a player, or go on to the main menu or the game. The
// menu, delete and play buttons show only while a named player is selected.
class PlayerSelectMenu : public Menu
{
public:
    static constexpr int kSlots = 8;

    explicit PlayerSelectMenu(MyGameApp& app);

    void ButtonDepress(int id) override;
    void Draw(Graphics* g) override;
    // The selected slot's editing ends (Enter in a name, or its OK button).
    void FinishEditing();
    // The confirmation said yes: the selected player goes.
    void DeleteSelected();

    int GetSelectedSlot() const { return m_selectedSlot; }
    ProfileNameWidget* GetNameButton(int slot) const { return m_nameButtons[static_cast<size_t>(slot)]; }
    ButtonWidget* GetOkButton(int slot) const { return m_okButtons[static_cast<size_t>(slot)]; }
    ButtonWidget* GetMenuButton() const { return m_menuButton; }
    ButtonWidget* GetDeleteButton() const { return m_deleteButton; }
    ButtonWidget* GetPlayButton() const { return m_playButton; }

private:
    ButtonWidget* AddCentredMenuButton(int x, int y, const std::wstring& label);
    void SelectSlot(int slot);
    // Editing ends; a named slot that stays selected keeps its selected look.
    void EndEditing(bool staysSelected);
    void UpdateButtons();

    MyGameApp& m_game;
    ButtonWidget* m_menuButton{nullptr};
    ButtonWidget* m_deleteButton{nullptr};
    ButtonWidget* m_playButton{nullptr};
    std::array<ProfileNameWidget*, kSlots> m_nameButtons{};
    std::array<ButtonWidget*, kSlots> m_okButtons{};
    int m_selectedSlot{-1};
};
