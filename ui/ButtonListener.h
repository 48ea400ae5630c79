#pragma once

// Told about the mouse events of the buttons and dynamic widgets that name it as
// their listener. Every operation does nothing by default.
//
// ButtonPress is overloaded: a class that overrides one form writes
// `using ButtonListener::ButtonPress;` so the other stays callable.
class ButtonListener
{
public:
    virtual ~ButtonListener() = default;

    virtual void ButtonPress(int id, int clicks);
    virtual void ButtonPress(int id);
    virtual void ButtonDepress(int id);
    virtual void ButtonDownTick(int id);
    virtual void ButtonMouseEnter(int id);
    virtual void ButtonMouseLeave(int id);
    virtual void ButtonMouseMove(int id, int x, int y);
};
