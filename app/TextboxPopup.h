#pragma once

#include "app/Menu.h"

class ButtonListener;
class ButtonWidget;
class GameApp;
class Image;

// A message box over the game at a given place, with an OK button that starts
// disabled and reports to the given listener (which enables it when the
// player may go on).
class TextboxPopup : public Menu
{
public:
    TextboxPopup(GameApp& app, int x, int y, Image* background, ButtonListener* listener);

    ButtonWidget* GetOkButton() const { return m_okButton; }
    // The player goes on playing beside the box: it never holds the input.
    bool IsModal() override { return false; }

private:
    ButtonWidget* m_okButton{nullptr};
};
