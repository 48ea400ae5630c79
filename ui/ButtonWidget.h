#pragma once

#include "ui/AnimationWidget.h"

#include <array>
#include <memory>
#include <string>

class Font;

// The push button: an animation widget whose look is drawn by scripts named
// after its style ("<style>_<event>", else "button_<event>"), with a label
// written in a font per state on top. Its own script variables "disabled",
// "mouse_over" and "mouse_down" carry the pointer state. Press and click
// notices are the listener calls of the dynamic widget beneath.
class ButtonWidget : public AnimationWidget
{
public:
    using Widget::MouseDown;
    using Widget::MouseUp;

    enum State
    {
        Normal = 0,
        Over = 1,
        Pressed = 2,
        Disabled = 3,
        StateCount = 4
    };

    // The style also names the button's image.
    ButtonWidget(int x, int y, const std::wstring& style, const std::wstring& label, bool localize);
    ~ButtonWidget() override;

    void Draw(Graphics* g) override;
    void SetDisabled(bool disabled) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(int x, int y, int clicks) override;
    void MouseUp(int x, int y) override;

    // Keeps a copy of the font (null clears) for the state.
    void SetFont(Font* font, int state = Normal);
    // Picks the state from the pointer and the disabled flag; a state
    // without a font of its own leaves the current one.
    void UpdateState();
    // Starts the style's script for the event, or the general one.
    void RunEvent(const std::wstring& event);

    const std::wstring& GetLabel() const { return m_label; }
    void SetLabel(const std::wstring& label);
    const std::wstring& GetStyle() const { return m_style; }
    int GetState() const { return m_state; }
    Font* GetLabelFont() const { return m_labelFont; }
    Font* GetStateFont(int state) const;
    int GetJustification() const { return m_justification; }
    // 0 centred, 1 right, anything else left.
    void SetJustification(int justification) { m_justification = justification; }
    bool GetSoundsOn() const { return m_soundsOn; }
    void SetSoundsOn(bool on) { m_soundsOn = on; }
    int GetHoverSoundId() const { return m_hoverSoundId; }
    void SetHoverSoundId(int id) { m_hoverSoundId = id; }
    int GetPressSoundId() const { return m_pressSoundId; }
    void SetPressSoundId(int id) { m_pressSoundId = id; }
    int GetLabelWrapWidth() const { return m_labelWrapWidth; }
    // 0: the button's width; negative: 4096.
    void SetLabelWrapWidth(int width) { m_labelWrapWidth = width; }
    void SetLabelOffset(int x, int y);
    int GetLabelOffsetX() const { return m_labelOffsetX; }
    int GetLabelOffsetY() const { return m_labelOffsetY; }
    void SetPressedShift(int x, int y);
    int GetPressedShiftX() const { return m_pressedShiftX; }
    int GetPressedShiftY() const { return m_pressedShiftY; }

protected:
    // The label font, falling back to a small system font that the button
    // owns.
    Font* EnsureLabelFont();
    void PlayButtonSound(int id) const;

    std::wstring m_label;
    int m_justification = 0;
    Font* m_labelFont = nullptr;

private:
    std::array<std::unique_ptr<Font>, StateCount> m_stateFonts;
    std::unique_ptr<Font> m_fallbackFont;
    bool m_soundsOn = true;
    int m_hoverSoundId = -1;
    int m_pressSoundId = -1;
    int m_labelWrapWidth = 0;
    int m_labelOffsetX = 0;
    int m_labelOffsetY = 0;
    int m_pressedShiftX = 1;
    int m_pressedShiftY = 1;
    std::wstring m_style;
    int m_state = Normal;
};
