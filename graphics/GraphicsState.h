#pragma once

#include "base/Color.h"
#include "graphics/Matrix4.h"
#include "graphics/Rect.h"

class Font;
class Shader;

// Multiplies every colour a Graphics draws with (components 0 to 1).
struct ColorMultiplier
{
    float red = 1.0f;
    float green = 1.0f;
    float blue = 1.0f;
    float alpha = 1.0f;

    bool IsIdentity() const { return red == 1.0f && green == 1.0f && blue == 1.0f && alpha == 1.0f; }
    bool operator==(const ColorMultiplier& other) const = default;
};

// Draw modes of Graphics::SetDrawMode, as blends of premultiplied colours
// (source s with alpha sa, target d). Any other number draws normally.
enum DrawMode
{
    DRAWMODE_NORMAL = 0,      // s + d (1 - sa)
    DRAWMODE_ADDITIVE = 1,    // s + d
    DRAWMODE_MULTIPLY = 2,    // s d + d (1 - sa)
    DRAWMODE_OVERLAY = 3,     // approximated as 2 s d (no per-pixel choice without shaders)
    DRAWMODE_SOFTLIGHT = 4,   // approximated as screen: s (1 - d) + d
    DRAWMODE_SUBTRACTIVE = 5, // d - s
    DRAWMODE_COPY = 7,        // s, replacing the target, alpha included
};

// Everything a Graphics draws with, as a plain value: callers save it by
// copying and restore it with Graphics::SetState.
struct GraphicsState
{
    float transX = 0.0f;
    float transY = 0.0f;
    // In the target's pixels.
    FRect clipRect{0.0f, 0.0f, 0.0f, 0.0f};
    Color color = OpaqueBlack;
    Font* font = nullptr;
    bool colorizeImages = false;
    ColorMultiplier colorMultiplier;
    // Applied to everything drawn, before the translation.
    Matrix4 matrix;
    bool hasMatrix = false;
    int drawMode = DRAWMODE_NORMAL;
    bool culling = false;
    Shader* shader = nullptr;
    bool batching = false;
    int batchOrder = 0;
    bool offscreenLayer = false;
};
