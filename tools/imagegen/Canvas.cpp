#include "Canvas.h"

#include "graphics/ImageWriter.h"
#include "platform/FontRasterizer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSamples = 4;

float Channel(std::uint32_t argb, int shift)
{
    return static_cast<float>((argb >> shift) & 0xFF) / 255.0f;
}

// Coverage of a pixel by a shape, from kSamples x kSamples sample points.
template <typename Inside> float Coverage(int x, int y, Inside inside)
{
    int hits = 0;
    for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
            float px = static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / kSamples;
            float py = static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / kSamples;
            if (inside(px, py))
                ++hits;
        }
    }
    return static_cast<float>(hits) / (kSamples * kSamples);
}

bool InsideRoundedRect(float px, float py, float x, float y, float width, float height, float radius)
{
    if (px < x || py < y || px > x + width || py > y + height)
        return false;
    float cx = std::clamp(px, x + radius, x + width - radius);
    float cy = std::clamp(py, y + radius, y + height - radius);
    float dx = px - cx;
    float dy = py - cy;
    return dx * dx + dy * dy <= radius * radius;
}

} // namespace

Canvas::Canvas(int width, int height, std::uint32_t fill)
    : m_image{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, fill)}
{
}

void Canvas::Blend(int x, int y, std::uint32_t argb, float coverage)
{
    if (x < 0 || y < 0 || x >= m_image.width || y >= m_image.height || coverage <= 0.0f)
        return;
    std::uint32_t& pixel = m_image.pixels[static_cast<std::size_t>(y) * m_image.width + x];
    float sa = Channel(argb, 24) * std::min(coverage, 1.0f);
    float da = Channel(pixel, 24);
    float oa = sa + da * (1.0f - sa);
    if (oa <= 0.0f) {
        pixel = 0;
        return;
    }
    std::uint32_t out = static_cast<std::uint32_t>(std::lround(oa * 255.0f)) << 24;
    for (int shift = 0; shift <= 16; shift += 8) {
        float value = (Channel(argb, shift) * sa + Channel(pixel, shift) * da * (1.0f - sa)) / oa;
        out |= static_cast<std::uint32_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f)) << shift;
    }
    pixel = out;
}

void Canvas::FillRect(int x, int y, int width, int height, std::uint32_t argb)
{
    for (int py = y; py < y + height; ++py) {
        for (int px = x; px < x + width; ++px)
            Blend(px, py, argb);
    }
}

void Canvas::VerticalGradient(int x, int y, int width, int height, std::uint32_t top, std::uint32_t bottom)
{
    for (int row = 0; row < height; ++row) {
        float t = height > 1 ? static_cast<float>(row) / static_cast<float>(height - 1) : 0.0f;
        std::uint32_t color = 0;
        for (int shift = 0; shift <= 24; shift += 8) {
            float value = Channel(top, shift) * (1.0f - t) + Channel(bottom, shift) * t;
            color |= static_cast<std::uint32_t>(std::lround(value * 255.0f)) << shift;
        }
        FillRect(x, y + row, width, 1, color);
    }
}

void Canvas::FillCircle(float centreX, float centreY, float radius, std::uint32_t argb)
{
    int left = static_cast<int>(std::floor(centreX - radius));
    int right = static_cast<int>(std::ceil(centreX + radius));
    int top = static_cast<int>(std::floor(centreY - radius));
    int bottom = static_cast<int>(std::ceil(centreY + radius));
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            Blend(x, y, argb, Coverage(x, y, [&](float px, float py) {
                      float dx = px - centreX;
                      float dy = py - centreY;
                      return dx * dx + dy * dy <= radius * radius;
                  }));
        }
    }
}

void Canvas::FillRoundedRect(float x, float y, float width, float height, float radius, std::uint32_t argb)
{
    for (int py = static_cast<int>(std::floor(y)); py <= static_cast<int>(std::ceil(y + height)); ++py) {
        for (int px = static_cast<int>(std::floor(x)); px <= static_cast<int>(std::ceil(x + width)); ++px) {
            Blend(px, py, argb, Coverage(px, py, [&](float sx, float sy) {
                      return InsideRoundedRect(sx, sy, x, y, width, height, radius);
                  }));
        }
    }
}

void Canvas::StrokeRoundedRect(float x, float y, float width, float height, float radius, float thickness,
                               std::uint32_t argb)
{
    float inner = std::max(radius - thickness, 0.0f);
    for (int py = static_cast<int>(std::floor(y)); py <= static_cast<int>(std::ceil(y + height)); ++py) {
        for (int px = static_cast<int>(std::floor(x)); px <= static_cast<int>(std::ceil(x + width)); ++px) {
            Blend(px, py, argb, Coverage(px, py, [&](float sx, float sy) {
                      return InsideRoundedRect(sx, sy, x, y, width, height, radius) &&
                             !InsideRoundedRect(sx, sy, x + thickness, y + thickness, width - 2 * thickness,
                                                height - 2 * thickness, inner);
                  }));
        }
    }
}

void Canvas::FillPolygon(const float* points, int count, std::uint32_t argb)
{
    if (count < 3)
        return;
    float minX = points[0];
    float maxX = points[0];
    float minY = points[1];
    float maxY = points[1];
    for (int i = 1; i < count; ++i) {
        minX = std::min(minX, points[2 * i]);
        maxX = std::max(maxX, points[2 * i]);
        minY = std::min(minY, points[2 * i + 1]);
        maxY = std::max(maxY, points[2 * i + 1]);
    }
    auto inside = [&](float px, float py) {
        bool in = false;
        for (int i = 0, j = count - 1; i < count; j = i++) {
            float xi = points[2 * i];
            float yi = points[2 * i + 1];
            float xj = points[2 * j];
            float yj = points[2 * j + 1];
            if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
                in = !in;
        }
        return in;
    };
    for (int y = static_cast<int>(std::floor(minY)); y <= static_cast<int>(std::ceil(maxY)); ++y) {
        for (int x = static_cast<int>(std::floor(minX)); x <= static_cast<int>(std::ceil(maxX)); ++x)
            Blend(x, y, argb, Coverage(x, y, inside));
    }
}

int Canvas::DrawText(FontRasterizer& font, const std::wstring& text, int x, int baseline, std::uint32_t argb)
{
    int pen = x;
    int top = baseline - font.GetAscent();
    for (wchar_t c : text) {
        GlyphBitmap glyph;
        if (font.RenderGlyph(static_cast<char32_t>(c), glyph)) {
            for (int gy = 0; gy < glyph.height; ++gy) {
                for (int gx = 0; gx < glyph.width; ++gx) {
                    float coverage =
                        static_cast<float>(glyph.pixels[static_cast<std::size_t>(gy) * glyph.width + gx] >>
                                           24) /
                        255.0f;
                    Blend(pen + gx, top + gy, argb, coverage);
                }
            }
        }
        pen += font.GetAdvance(static_cast<char32_t>(c));
    }
    return pen - x;
}

int Canvas::TextWidth(FontRasterizer& font, const std::wstring& text)
{
    int width = 0;
    for (wchar_t c : text)
        width += font.GetAdvance(static_cast<char32_t>(c));
    return width;
}

void Canvas::Paste(const Canvas& other, int x, int y)
{
    for (int py = 0; py < other.GetHeight(); ++py) {
        for (int px = 0; px < other.GetWidth(); ++px) {
            int tx = x + px;
            int ty = y + py;
            if (tx >= 0 && ty >= 0 && tx < m_image.width && ty < m_image.height)
                m_image.pixels[static_cast<std::size_t>(ty) * m_image.width + tx] = other.m_image.At(px, py);
        }
    }
}

bool Canvas::Save(const std::string& path) const
{
    return WritePng(m_image, path);
}
