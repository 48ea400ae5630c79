#pragma once

class Widget;
class WidgetManager;

// What the manager knows about one pointer (the mouse is pointer 0).
struct PointerState
{
    // Button bits.
    static constexpr int Left = 1;
    static constexpr int Right = 2;
    static constexpr int Middle = 4;

    WidgetManager* manager = nullptr;
    int id = 0;
    // Gets the drags and the releases of the buttons it was pressed with.
    Widget* pressedWidget = nullptr;
    Widget* widgetUnder = nullptr;
    // Buttons whose press went to the pressed widget.
    int pressedButtons = 0;
    // Buttons down.
    int buttons = 0;
    // 1 left, -1 right, 0 middle.
    int lastButton = 0;
    int lastX = 0;
    int lastY = 0;
    bool inWindow = false;
    bool routed = false;
};
