#pragma once

// The button a mouse message is about; None for moves and wheel turns.
enum class MouseButton
{
    None,
    Left,
    Right,
    Middle,
};

// One mouse message as the widget manager receives it, built once from the
// window's record: the point in application pixels, the button, how many
// clicks a press makes (1, or 2 for a double click), the wheel notches and
// the modifier keys held when it arrived.
struct MouseEvent
{
    int x{0};
    int y{0};
    MouseButton button{MouseButton::None};
    int clicks{0};
    int wheel{0};
    bool shift{false};
    bool control{false};
    bool alt{false};

    // A press or release from the signed click count the window reports.
    static MouseEvent FromSignedClicks(int x, int y, int signedClicks);
    // The click count the widgets' three-argument mouse forms and the click
    // listeners take: 1 left, 2 left double, -1 right, -2 right double,
    // 0 middle.
    int GetSignedClicks() const;
};
