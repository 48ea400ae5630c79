#pragma once

#include "graphics/ImageData.h"

#include <cstdint>
#include <string>

class FontRasterizer;

// A drawing surface in memory with straight-alpha pixels, for generated art.
class Canvas
{
public:
    Canvas(int width, int height, std::uint32_t fill = 0);

    int GetWidth() const { return m_image.width; }
    int GetHeight() const { return m_image.height; }
    const ImageData& GetImage() const { return m_image; }

    // Source-over blending of one pixel with a coverage of 0 to 1.
    void Blend(int x, int y, std::uint32_t argb, float coverage = 1.0f);
    void FillRect(int x, int y, int width, int height, std::uint32_t argb);
    void VerticalGradient(int x, int y, int width, int height, std::uint32_t top, std::uint32_t bottom);
    // Anti-aliased shapes.
    void FillCircle(float centreX, float centreY, float radius, std::uint32_t argb);
    void FillRoundedRect(float x, float y, float width, float height, float radius, std::uint32_t argb);
    void StrokeRoundedRect(float x, float y, float width, float height, float radius, float thickness,
                           std::uint32_t argb);
    void FillPolygon(const float* points, int count, std::uint32_t argb);
    // Text with its baseline at y; returns its width.
    int DrawText(FontRasterizer& font, const std::wstring& text, int x, int baseline, std::uint32_t argb);
    static int TextWidth(FontRasterizer& font, const std::wstring& text);
    // Copies another canvas in at (x, y) (replacing pixels).
    void Paste(const Canvas& other, int x, int y);

    bool Save(const std::string& path) const;

private:
    ImageData m_image;
};
