#pragma once

#include "graphics/Image.h"
#include "graphics/ImageRenderTarget.h"

#include <cstdint>
#include <vector>

// An image that can also be drawn into: its pixels live on the device and
// are read back when asked for.
class ImageSurface : public Image, public ImageRenderTarget
{
public:
    // Empty until Create; without a render target it can only be drawn.
    explicit ImageSurface(bool renderTarget = true);
    ~ImageSurface() override;

    // A cleared (transparent) surface of that size.
    bool Create(int width, int height);
    void Clear();
    bool IsRenderTarget() const { return m_renderTarget; }
    // A surface that stands for the window clears to opaque black, as the
    // window shows it (the window's pixels carry no alpha).
    void SetClearsOpaque(bool opaque) { m_clearsOpaque = opaque; }
    bool ClearsOpaque() const { return m_clearsOpaque; }

    RenderTextureId GetRenderTexture() override;
    D3DInterface* GetRenderer() const override { return m_renderer; }
    int GetTargetWidth() const override { return GetWidth(); }
    int GetTargetHeight() const override { return GetHeight(); }
    void ContentChanged() override;

    bool IsPlainBitmap() const override { return false; }
    bool GetTextureSource(TextureSource& source) override;
    bool UploadTexture() override;
    void ReleaseTexture() override;

    // All pixels read back from the device, straight alpha (screenshots).
    ImageData ReadImageData() const;

    // A free word for the owner's bits.
    unsigned GetFlags() const { return m_flags; }
    void SetFlags(unsigned flags) { m_flags = flags; }

protected:
    std::uint32_t ReadPixel(int x, int y) const override;

private:
    void ReadBack() const;

    bool m_renderTarget = true;
    D3DInterface* m_renderer = nullptr;
    bool m_needsClear = false;
    bool m_clearsOpaque = false;
    unsigned m_flags = 0;
    mutable std::vector<std::uint32_t> m_readBack;
    mutable bool m_readBackCurrent = false;
};

// A new surface (owned by the caller) holding a copy of the image's first
// cell, ready to be drawn into; null without an image.
ImageSurface* CreateSurfaceFromImageData(Image* image);
