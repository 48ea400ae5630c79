#pragma once

#include "graphics/ImageChild.h"

#include <vector>

// An atlas entry: one or more frames (its cells) inside a shared atlas
// image, in the atlas' pixels.
class ImageAtlasPiece : public ImageChild
{
public:
    ImageAtlasPiece(Image* atlas, std::vector<Rect> frames);
};
