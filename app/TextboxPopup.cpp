#include "app/TextboxPopup.h"

#include "ui/ButtonWidget.h"

namespace {

// From the bottom of the box to the top of its button.
constexpr int kButtonRise = 74;

} // namespace

TextboxPopup::TextboxPopup(GameApp& app, int x, int y, Image* background, ButtonListener* listener)
    : Menu(app, background, true, false)
{
    Move(static_cast<float>(x), static_cast<float>(y));
    m_okButton =
        dynamic_cast<ButtonWidget*>(AddMenuButton(GetWidth() / 2, GetHeight() - kButtonRise, L"button_ok"));
    if (m_okButton == nullptr)
        return;
    m_okButton->Move(m_okButton->GetX() - static_cast<float>(m_okButton->GetWidth() / 2), m_okButton->GetY());
    m_okButton->SetDisabled(true);
    m_okButton->SetButtonListener(listener);
}
