#pragma once

#include <cstdint>

// One record of the deferred message list: what the window reported, in
// window pixels. The application hands these to the widgets one at a time.
enum class InputEventType
{
    None,
    MouseDown, // clicks: 1 left, 2 left double, -1 right, -2 right double, 0 middle
    MouseUp,   // clicks: 1 left, -1 right, 0 middle
    MouseMove,
    MouseWheel, // delta in wheel units of 120 per notch
    MouseLeave, // the pointer left the window
    KeyDown,    // key: a virtual-key code (see KeyCodes.h)
    KeyUp,
    KeyChar, // ch: a character code (UTF-32)
    FocusGained,
    FocusLost,
    Exposed, // the window needs a redraw
    Quit,    // the window was closed, or the process was asked to end
};

struct InputEvent
{
    InputEventType type{InputEventType::None};
    int x{0};
    int y{0};
    int clicks{0};
    int delta{0};
    int key{0};
    std::uint32_t ch{0};
};
