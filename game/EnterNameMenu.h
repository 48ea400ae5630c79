#pragma once

#include "app/Menu.h"
#include "ui/EditListener.h"

class ButtonWidget;
class EditWidget;
class MyGameApp;
class MyTitleScreen;

// Asks for the first player's name when the title screen is left without a
// player: an edit box and an OK button on the "EnterName" panel.
class EnterNameMenu : public Menu, public EditListener
{
public:
    EnterNameMenu(MyGameApp& app, MyTitleScreen* owner);

    void AddedToManager(WidgetManager* manager) override;
    void ButtonDepress(int id) override;
    void Draw(Graphics* g) override;

    void EditWidgetText(int id, const std::wstring& text) override;
    bool AllowKey(int id, int key) override;
    bool AllowChar(int id, wchar_t ch) override;
    bool AllowText(int id, const std::wstring& text) override;

    EditWidget* GetNameField() const { return m_nameField; }
    ButtonWidget* GetOkButton() const { return m_okButton; }

private:
    void CreateProfile();

    EditWidget* m_nameField{nullptr};
    ButtonWidget* m_okButton{nullptr};
    MyTitleScreen* m_owner{nullptr};
};
