#include "graphics/ImageAtlasPiece.h"

#include <algorithm>

namespace {

Rect Bounds(const std::vector<Rect>& frames)
{
    if (frames.empty())
        return Rect{};
    int left = frames.front().x;
    int top = frames.front().y;
    int right = left + frames.front().width;
    int bottom = top + frames.front().height;
    for (const Rect& frame : frames) {
        left = std::min(left, frame.x);
        top = std::min(top, frame.y);
        right = std::max(right, frame.x + frame.width);
        bottom = std::max(bottom, frame.y + frame.height);
    }
    return Rect{left, top, right - left, bottom - top};
}

} // namespace

ImageAtlasPiece::ImageAtlasPiece(Image* atlas, std::vector<Rect> frames) : ImageChild(atlas, Bounds(frames))
{
    Rect bounds = GetArea();
    for (Rect& frame : frames) {
        frame.x -= bounds.x;
        frame.y -= bounds.y;
    }
    SetFrames(std::move(frames));
}
