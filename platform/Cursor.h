#pragma once

#include <cstdint>
#include <vector>

// The pointer's look. Kinds: 0 arrow, 1 hand, 2 slider drag, 3 text beam;
// other kinds show the arrow.
class Cursor
{
public:
    virtual ~Cursor() = default;

    virtual void SetSystemCursor(int kind) = 0;
    // Straight (not premultiplied) ARGB pixels, row by row; an empty image
    // restores the system cursor of the last kind. False when refused.
    virtual bool SetImageCursor(const std::vector<std::uint32_t>& argb, int width, int height, int hotX,
                                int hotY) = 0;
    virtual void Show(bool shown) = 0;
    virtual bool IsShown() const = 0;
};
