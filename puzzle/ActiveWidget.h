#pragma once

#include "ui/ButtonWidget.h"

#include <string>

// A button that remembers where it was placed and can come to the front of
// its parent when pressed.
class ActiveWidget : public ButtonWidget
{
public:
    using Widget::MouseDown;

    // align -1: x is the left edge, 0 the centre, 1 the right edge.
    ActiveWidget(int x, int y, const std::wstring& style, int align);

    void Draw(Graphics* g) override;
    void MouseDown(int x, int y, int clicks) override;
    virtual void ReturnHome();

    void SetRaiseOnPress(bool raise) { raiseOnPress = raise; }
    void SetShownFrame(int shown) { frame = shown; }
    float GetHomeX() const { return homeX; }
    float GetHomeY() const { return homeY; }

protected:
    bool raiseOnPress{false};
    int frame{0};
    float homeX{0.0f};
    float homeY{0.0f};
};
