#pragma once

#include "ui/Widget.h"

class CheckboxListener;
class Image;

// A box that toggles on a click, drawn from images: unchecked and checked,
// each with its pointer-over and disabled forms (the disabled ones are only
// drawn once given). Plays "Highlight" when the pointer enters and "Button"
// on each toggle while its sounds are on.
class Checkbox : public Widget
{
public:
    using Widget::MouseDown;

    Checkbox(Image* uncheckedImage, Image* uncheckedOverImage, Image* checkedImage, Image* checkedOverImage,
             CheckboxListener* listener);

    void Draw(Graphics* g) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(int x, int y, int button, int clicks) override;
    virtual void SetChecked(bool checked, bool notify);
    virtual bool IsChecked() const;

    void SetDisabledImages(Image* uncheckedDisabledImage, Image* checkedDisabledImage);
    void SetSoundsOn(bool on) { m_soundsOn = on; }
    bool AreSoundsOn() const { return m_soundsOn; }

private:
    Image* ChooseImage() const;

    CheckboxListener* m_listener = nullptr;
    bool m_checked = false;
    bool m_soundsOn = true;
    int m_hoverSoundId = -1;
    int m_clickSoundId = -1;
    Image* m_uncheckedImage = nullptr;
    Image* m_checkedImage = nullptr;
    Image* m_uncheckedOverImage = nullptr;
    Image* m_checkedOverImage = nullptr;
    Image* m_uncheckedDisabledImage = nullptr;
    Image* m_checkedDisabledImage = nullptr;
};
