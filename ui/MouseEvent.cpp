#include "ui/MouseEvent.h"

#include <algorithm>
#include <limits>

MouseEvent MouseEvent::FromSignedClicks(int x, int y, int signedClicks)
{
    MouseEvent event;
    event.x = x;
    event.y = y;
    if (signedClicks > 0) {
        event.button = MouseButton::Left;
        event.clicks = signedClicks;
    } else if (signedClicks < 0) {
        event.button = MouseButton::Right;
        event.clicks = -std::max(signedClicks, -std::numeric_limits<int>::max());
    } else {
        event.button = MouseButton::Middle;
        event.clicks = 1;
    }
    return event;
}

int MouseEvent::GetSignedClicks() const
{
    // A count of 0 would read as the middle button.
    switch (button) {
    case MouseButton::Left:
        return std::max(clicks, 1);
    case MouseButton::Right:
        return -std::max(clicks, 1);
    case MouseButton::Middle:
    case MouseButton::None:
        break;
    }
    return 0;
}
