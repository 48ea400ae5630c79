#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One vertex of a textured, colour-modulated triangle, already in the
// render target's pixels. UVs stay inside [0, 1].
struct RenderVertex
{
    float x = 0.0f;
    float y = 0.0f;
    std::uint8_t r = 255;
    std::uint8_t g = 255;
    std::uint8_t b = 255;
    std::uint8_t a = 255;
    float u = 0.0f;
    float v = 0.0f;
};

// How a drawn colour combines with the target. Textures hold premultiplied
// alpha, so Normal is (ONE, ONE_MINUS_SRC_ALPHA).
enum class RenderBlend
{
    Normal,
    Additive,
    Multiply,
    Overlay,
    SoftLight,
    Subtractive,
    Copy,
    // Keeps the target scaled by the source alpha (masking a layer).
    MaskByAlpha,
};

struct RenderRect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// A texture on the device; 0 is "no texture" (plain coloured triangles,
// or the window itself as a render target).
using RenderTextureId = std::uint32_t;

// The low-level renderer: textures, render targets and triangle lists.
// Main thread only.
class RenderDevice
{
public:
    virtual ~RenderDevice() = default;

    // A texture of 0xAARRGGBB texels with premultiplied alpha; 0 on failure.
    virtual RenderTextureId CreateTexture(int width, int height, bool renderTarget) = 0;
    virtual void DestroyTexture(RenderTextureId texture) = 0;
    // Replaces the whole texture; pixels hold width x height texels.
    virtual bool UploadTexture(RenderTextureId texture, const std::uint32_t* pixels) = 0;
    // Replaces a rectangle of the texture; pixels hold area.width x
    // area.height texels. False when the rectangle is not inside it.
    virtual bool UploadTextureArea(RenderTextureId texture, const RenderRect& area,
                                   const std::uint32_t* pixels) = 0;

    // 0 draws into the window.
    virtual bool SetRenderTarget(RenderTextureId target) = 0;
    // Clip in the current target's pixels; null switches clipping off.
    virtual void SetClip(const RenderRect* clip) = 0;
    virtual bool DrawTriangles(RenderTextureId texture, const RenderVertex* vertices, int vertexCount,
                               const int* indices, int indexCount, RenderBlend blend) = 0;
    // Reads a rectangle of the current target as 0xAARRGGBB (premultiplied).
    virtual bool ReadPixels(const RenderRect& area, std::uint32_t* pixels) = 0;

    // Shows a texture in the window at the given rectangle (black around it).
    virtual void Present(RenderTextureId screen, const RenderRect& destination) = 0;
    // The same when only the areas (in the texture's pixels) changed since the
    // last one: a device whose window keeps its pixels between presents
    // copies just those; any other shows the whole texture.
    virtual void PresentAreas(RenderTextureId screen, const RenderRect& destination,
                              const std::vector<RenderRect>& /*areas*/)
    {
        Present(screen, destination);
    }
    virtual void GetOutputSize(int& width, int& height) const = 0;
    // Frames per second the display shows; 0 when unknown.
    virtual int GetRefreshRate() const { return 0; }

    // True once after the device lost its textures' contents.
    virtual bool TakeDeviceReset() = 0;
    // Whether the custom blend modes work (not on a software renderer).
    virtual bool SupportsBlendModes() const = 0;
    virtual std::string GetName() const = 0;
    // The text of the last failure.
    virtual std::string GetLastError() const = 0;
};
