#pragma once

#include "ui/MouseEvent.h"

class Widget;
class WidgetManager;

// What the manager knows about one pointer (the mouse is pointer 0).
struct PointerState
{
    // Button bits.
    static constexpr int Left = 1;
    static constexpr int Right = 2;
    static constexpr int Middle = 4;

    // The bit of a button; 0 for none.
    static constexpr int ButtonBit(MouseButton button)
    {
        switch (button) {
        case MouseButton::Left:
            return Left;
        case MouseButton::Right:
            return Right;
        case MouseButton::Middle:
            return Middle;
        case MouseButton::None:
            break;
        }
        return 0;
    }

    WidgetManager* manager = nullptr;
    int id = 0;
    // Gets the drags and the releases of the buttons it was pressed with.
    Widget* pressedWidget = nullptr;
    Widget* widgetUnder = nullptr;
    // Buttons whose press went to the pressed widget.
    int pressedButtons = 0;
    // Buttons down.
    int buttons = 0;
    MouseButton lastButton = MouseButton::None;
    int lastX = 0;
    int lastY = 0;
    bool inWindow = false;
    bool routed = false;
};
