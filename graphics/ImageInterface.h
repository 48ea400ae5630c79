#pragma once

#include "graphics/Rect.h"
#include "platform/RenderDevice.h"

#include <cstdint>

// Where a cell of an image lives on the device: a texture and the pixel
// rectangle inside it.
struct TextureSource
{
    RenderTextureId texture = 0;
    int textureWidth = 0;
    int textureHeight = 0;
    Rect area;
};

// What every drawable image offers: its size, its cells and its pixels.
class ImageInterface
{
public:
    virtual ~ImageInterface() = default;

    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual int GetCellCount() const = 0;
    virtual int GetCellWidth() const = 0;
    virtual int GetCellHeight() const = 0;
    // The rectangle of a cell in the image's own pixels (cell 0 when out of range).
    virtual Rect GetCellRect(int cell) const = 0;
    // Packed 0xAARRGGBB of a pixel of a cell, straight alpha; 0 when the
    // coordinates or the cell are out of range.
    virtual std::uint32_t GetPixel(int x, int y, int cell = 0) const = 0;
    // Pixel hit tests run only on plain bitmaps.
    virtual bool IsPlainBitmap() const = 0;
    // Main thread: the texture of the image's pixels, uploaded on first use;
    // false when there is nothing to draw.
    virtual bool GetTextureSource(TextureSource& source) = 0;
};
