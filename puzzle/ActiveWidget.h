#pragma once

#include "ui/ButtonWidget.h"

#include <string>

// A button that remembers where it was placed and can come to the front of
// its parent when pressed.
class ActiveWidget : public ButtonWidget
{
public:
    using Widget::MouseDown;

    // align -1: x is the left edge, 0 the centre, 1 the right edge. The
    // resulting place, in whole pixels, is the widget's home.
    ActiveWidget(int x, int y, const std::wstring& style, int align);

    void Draw(Graphics* g) override;
    void MouseDown(int x, int y, int clicks) override;
    // Back to the place given at construction.
    virtual void ReturnHome();

    void SetRaiseOnPress(bool raise) { m_raiseOnPress = raise; }
    void SetShownFrame(int frame) { m_frame = frame; }
    float GetHomeX() const { return m_homeX; }
    float GetHomeY() const { return m_homeY; }

private:
    bool m_raiseOnPress{false};
    int m_frame{0};
    float m_homeX{0.0f};
    float m_homeY{0.0f};
};
