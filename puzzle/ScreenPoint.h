#pragma once

// A point in whole pixels, in the coordinates of the screen the play widgets stand on.
struct ScreenPoint
{
    int x{0};
    int y{0};
};
