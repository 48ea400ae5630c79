#include "game/OptionsMenu.h"

#include "app/GameApp.h"
#include "app/NoticeMenu.h"
#include "game/ConfirmMainMenu.h"
#include "game/MyGameApp.h"
#include "game/ScreenShade.h"
#include "graphics/D3DInterface.h"
#include "graphics/Font.h"
#include "graphics/FontTable.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/Rect.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileManager.h"
#include "resources/Assets.h"
#include "resources/Constants.h"
#include "resources/Localization.h"
#include "ui/ButtonWidget.h"
#include "ui/Checkbox.h"
#include "ui/Slider.h"

#include <algorithm>

namespace {

constexpr int kMusicY = 148;
constexpr int kSoundY = 183;
constexpr int kSliderNudge = 10;
constexpr int kBoxLeftOfSliders = 70;
constexpr int kDisableTipsY = 258;
constexpr int kCustomCursorsY = 298;
constexpr int kToggleModeY = 338;
constexpr int kToggleNumbersY = 378;
constexpr int kFullScreenY = 418;
constexpr int kStretchScreenY = 458;
constexpr int kButtonsY = 493;
constexpr int kMenuButtonOffset = -100;
constexpr int kCloseButtonOffset = 110;
constexpr int kIconLeft = 50;
constexpr int kIconRise = 6;
constexpr int kLabelGap = 5;
constexpr int kLabelDrop = 22;

int CellWidth(const wchar_t* image)
{
    const Image* found = ::GetImage(image);
    return found != nullptr ? found->GetCellWidth() : 0;
}

int CellHeight(const wchar_t* image)
{
    const Image* found = ::GetImage(image);
    return found != nullptr ? found->GetCellHeight() : 0;
}

} // namespace

OptionsMenu::OptionsMenu(MyGameApp& app, const std::wstring& from, int, int)
    : DialogMenu(app, nullptr), m_game(app)
{
    m_title = Localize(L"options_title");
    m_titleY = GetConstantInt(L"dialog_title_y");
    SetVariable(L"title", Value(m_title));
    SetVariable(L"title_x", Value(GetWidth() / 2));
    SetVariable(L"title_y", Value(m_titleY));
    PlayAnimationByName(L"popup_title");

    const int centre = GetWidth() / 2;
    const int trackWidth = CellWidth(L"Slider");
    const int sliderX = centre - trackWidth / 2 + kSliderNudge;
    const int sliderHeight = CellHeight(L"Slider_Thumb");
    auto makeSlider = [&](int y, double value) {
        auto* slider = new Slider(::GetImage(L"Slider"), ::GetImage(L"Slider_Thumb"), this);
        slider->Resize(sliderX, y, trackWidth, sliderHeight);
        slider->SetValue(value);
        AddWidget(slider);
        return slider;
    };
    m_musicSlider = makeSlider(kMusicY, app.GetMusicVolume());
    m_soundSlider = makeSlider(kSoundY, app.GetSfxVolume());

    const PlayerState* state = GetCurrentPlayerState();
    m_disableTips = AddBox(kDisableTipsY, state != nullptr && state->disableTips);
    m_customCursors = AddBox(kCustomCursorsY, app.AreCustomCursorsEnabled());
    m_toggleMode = AddBox(kToggleModeY, state != nullptr && state->toggleMode);
    m_toggleNumbers = AddBox(kToggleNumbersY, state != nullptr && state->showNumbers);
    m_fullScreen = AddBox(kFullScreenY, !app.IsWindowed());
    m_stretchScreen = AddBox(kStretchScreenY, app.IsStretchScreen());
    // A display of the game's own size has nothing to stretch.
    if (const D3DInterface* renderer = app.GetRenderer()) {
        if (renderer->GetDisplayWidth() == app.GetWidth() && renderer->GetDisplayHeight() == app.GetHeight())
            m_stretchScreen->SetDisabled(true);
    }
    UpdateStretchVisibility();

    if (from == L"main-menu") {
        m_closeButton = AddCentredButton(centre, L"button_close");
    } else {
        m_menuButton = AddCentredButton(centre + kMenuButtonOffset, L"button_menu");
        m_closeButton = AddCentredButton(centre + kCloseButtonOffset, L"button_close");
    }
}

Checkbox* OptionsMenu::AddBox(int y, bool checked)
{
    auto* box = new Checkbox(::GetImage(L"Checkbox"), ::GetImage(L"Checkbox_hover"),
                             ::GetImage(L"Checkbox_checked"), ::GetImage(L"Checkbox_Checked_hover"), this);
    box->Resize(static_cast<int>(m_musicSlider->GetX()) - kBoxLeftOfSliders, y, CellWidth(L"Checkbox"),
                CellHeight(L"Checkbox"));
    box->SetChecked(checked, false);
    AddWidget(box);
    return box;
}

ButtonWidget* OptionsMenu::AddCentredButton(int x, const std::wstring& label)
{
    auto* button = dynamic_cast<ButtonWidget*>(AddMenuButton(x, kButtonsY, label));
    if (button == nullptr)
        return nullptr;
    button->Move(static_cast<float>(x - button->GetWidth() / 2), static_cast<float>(kButtonsY));
    button->SetButtonListener(this);
    return button;
}

void OptionsMenu::UpdateStretchVisibility()
{
    const bool visible = !m_stretchScreen->IsDisabled() && m_fullScreen->IsChecked();
    if (visible == m_stretchScreen->IsVisible())
        return;
    m_stretchScreen->SetVisible(visible);
    // The box redraws its own area; its label is the dialog's drawing, so
    // the row it stands on is drawn again with it.
    MarkDirtyArea(LabelRowArea(m_stretchScreen));
}

Rect OptionsMenu::LabelRowArea(const Checkbox* box) const
{
    const int x = static_cast<int>(box->GetX());
    const int y = static_cast<int>(box->GetY());
    const Font* font = GetFont(L"menu");
    const int ascent = font != nullptr ? font->GetAscent() : 0;
    const int descent = font != nullptr ? font->GetHeight() - ascent : 0;
    const int top = std::min(0, kLabelDrop - ascent);
    const int bottom = std::max(box->GetHeight(), kLabelDrop + descent);
    return Rect{x, y + top, GetWidth() - x, bottom - top};
}

void OptionsMenu::SliderVal(int id, double value)
{
    if (id == m_musicSlider->GetId()) {
        m_game.SetMusicVolume(value);
    } else if (id == m_soundSlider->GetId()) {
        m_game.SetSfxVolume(value);
        // The bell rings once, at the new volume, for the jump a click on the
        // track makes: that is the one report made while the button is down
        // and no thumb is held. A drag stays quiet from its grab to its end,
        // and so do the reports a release repeats.
        if (m_soundSlider->IsDown() && !m_soundSlider->IsDragging())
            m_game.PlaySample(GetSoundId(L"Bell"));
    }
}

void OptionsMenu::SliderReleased(int, double) {}

void OptionsMenu::CheckboxChecked(int id, bool checked)
{
    PlayerState* state = GetCurrentPlayerState();
    if (id == m_fullScreen->GetId()) {
        UpdateStretchVisibility();
        if (!checked && m_game.IsWindowedModeUnavailable()) {
            (new NoticeMenu(m_game, L"no_windowed_mode", nullptr, L"menu"))->Show();
            m_fullScreen->SetChecked(true, true);
        }
    } else if (state == nullptr) {
        return;
    } else if (id == m_disableTips->GetId()) {
        state->disableTips = checked;
    } else if (id == m_toggleMode->GetId()) {
        state->toggleMode = checked;
    } else if (id == m_toggleNumbers->GetId()) {
        state->showNumbers = checked;
    }
}

void OptionsMenu::ApplyDisplaySettings()
{
    // Each is applied only when it changed: a switch of the screen mode
    // remakes the window.
    const bool windowed = !m_fullScreen->IsChecked();
    if (windowed != m_game.IsWindowed())
        m_game.SwitchScreenMode(windowed);
    if (m_stretchScreen->IsChecked() != m_game.IsStretchScreen())
        m_game.SetStretchScreen(m_stretchScreen->IsChecked());
    if (m_customCursors->IsChecked() != m_game.AreCustomCursorsEnabled())
        m_game.EnableCustomCursors(m_customCursors->IsChecked());
}

void OptionsMenu::ButtonDepress(int id)
{
    const bool close = m_closeButton != nullptr && id == m_closeButton->GetId();
    const bool menu = m_menuButton != nullptr && id == m_menuButton->GetId();
    if (!close && !menu)
        return;
    ApplyDisplaySettings();
    if (close) {
        m_game.WriteSettings();
        RemoveSelf();
    } else {
        (new ConfirmMainMenu(m_game, this))->Show();
    }
}

void OptionsMenu::Draw(Graphics* g)
{
    ShadeScreen(g, *this);
    DialogMenu::Draw(g);
    auto icon = [g](const wchar_t* name, const Slider* slider) {
        if (Image* image = ::GetImage(name))
            g->DrawImage(image, static_cast<int>(slider->GetX()) - kIconLeft,
                         static_cast<int>(slider->GetY()) - kIconRise);
    };
    icon(L"IconMusicVolume", m_musicSlider);
    icon(L"IconSoundVolume", m_soundSlider);
    g->SetFont(GetFont(L"menu"));
    g->SetColor(Color(255, 255, 255, 255));
    const int labelX = static_cast<int>(m_fullScreen->GetX()) + m_fullScreen->GetWidth() + kLabelGap;
    auto label = [&](const wchar_t* key, const Checkbox* box) {
        g->WriteString(Localize(key), labelX, static_cast<int>(box->GetY()) + kLabelDrop);
    };
    label(L"disable_tips", m_disableTips);
    label(L"custom_cursors", m_customCursors);
    label(L"toggle_mode", m_toggleMode);
    label(L"toggle_numbers", m_toggleNumbers);
    label(L"full_screen", m_fullScreen);
    if (m_stretchScreen->IsVisible())
        label(L"stretch_screen", m_stretchScreen);
}
