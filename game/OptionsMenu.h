#pragma once

#include "app/DialogMenu.h"
#include "ui/CheckboxListener.h"
#include "ui/SliderListener.h"

#include <string>

class ButtonWidget;
struct Rect;
class Checkbox;
class MyGameApp;
class Slider;

// The options dialog, from the main menu or from play. The volumes change as
// their sliders move; the player's options (tips, tool toggling, numbers)
// change as their boxes are ticked; the display options (full screen,
// stretching, custom cursors) are applied when a button of the dialog is
// released, and only those that changed.
class OptionsMenu : public DialogMenu, public SliderListener, public CheckboxListener
{
public:
    // from: "main-menu" gives the dialog only its close button; from play it
    // also offers the way back to the main menu. The mode and set are the
    // caller's and not used.
    OptionsMenu(MyGameApp& app, const std::wstring& from, int mode, int set);

    void SliderVal(int id, double value) override;
    void SliderReleased(int id, double value) override;
    void CheckboxChecked(int id, bool checked) override;
    void ButtonDepress(int id) override;
    void Draw(Graphics* g) override;

    Checkbox* GetFullScreenBox() const { return m_fullScreen; }
    Checkbox* GetCustomCursorsBox() const { return m_customCursors; }
    Checkbox* GetDisableTipsBox() const { return m_disableTips; }
    Checkbox* GetToggleNumbersBox() const { return m_toggleNumbers; }
    Checkbox* GetToggleModeBox() const { return m_toggleMode; }
    Checkbox* GetStretchScreenBox() const { return m_stretchScreen; }
    Slider* GetMusicSlider() const { return m_musicSlider; }
    Slider* GetSoundSlider() const { return m_soundSlider; }
    ButtonWidget* GetMenuButton() const { return m_menuButton; }
    ButtonWidget* GetCloseButton() const { return m_closeButton; }

private:
    Checkbox* AddBox(int y, bool checked);
    ButtonWidget* AddCentredButton(int x, const std::wstring& label);
    void UpdateStretchVisibility();
    // The row of a box and of the label the dialog writes beside it, in the
    // dialog's pixels.
    Rect LabelRowArea(const Checkbox* box) const;
    void ApplyDisplaySettings();

    MyGameApp& m_game;
    Checkbox* m_fullScreen{nullptr};
    Checkbox* m_customCursors{nullptr};
    Checkbox* m_disableTips{nullptr};
    Checkbox* m_toggleNumbers{nullptr};
    Checkbox* m_toggleMode{nullptr};
    Checkbox* m_stretchScreen{nullptr};
    Slider* m_musicSlider{nullptr};
    Slider* m_soundSlider{nullptr};
    ButtonWidget* m_menuButton{nullptr};
    ButtonWidget* m_closeButton{nullptr};
    std::wstring m_title;
    int m_titleY{0};
};
