#include "graphics/ImageSurface.h"

#include "graphics/D3DInterface.h"
#include "graphics/Graphics.h"

#include <algorithm>

namespace {

std::uint32_t Unpremultiply(std::uint32_t argb)
{
    std::uint32_t a = argb >> 24;
    if (a == 255 || a == 0)
        return argb;
    auto scale = [a](std::uint32_t c) { return std::min<std::uint32_t>(255, (c * 255 + a / 2) / a); };
    return (a << 24) | (scale((argb >> 16) & 0xFF) << 16) | (scale((argb >> 8) & 0xFF) << 8) |
           scale(argb & 0xFF);
}

} // namespace

ImageSurface::ImageSurface(bool renderTarget) : m_renderTarget(renderTarget) {}

ImageSurface::~ImageSurface()
{
    ImageSurface::ReleaseTexture();
}

bool ImageSurface::Create(int width, int height)
{
    ReleaseTexture();
    m_readBack.clear();
    m_readBackCurrent = false;
    if (width <= 0 || height <= 0) {
        SetData(ImageData{});
        SetSize(0, 0);
        return false;
    }
    if (!m_renderTarget) {
        SetData(ImageData{width, height,
                          std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, 0u)});
        return true;
    }
    SetData(ImageData{});
    SetSize(width, height);
    m_needsClear = true;
    return true;
}

void ImageSurface::Clear()
{
    if (!m_renderTarget) {
        ImageData data = GetData();
        std::fill(data.pixels.begin(), data.pixels.end(), m_clearsOpaque ? 0xFF000000u : 0u);
        SetData(std::move(data));
        return;
    }
    m_needsClear = true;
    m_readBackCurrent = false;
    if (GetTexture() != 0)
        GetRenderTexture();
}

RenderTextureId ImageSurface::GetRenderTexture()
{
    if (!m_renderTarget || GetWidth() <= 0 || GetHeight() <= 0)
        return 0;
    D3DInterface* renderer = D3DInterface::GetCurrent();
    if (renderer == nullptr)
        return 0;
    m_renderer = renderer;
    RenderDevice* device = renderer->GetDevice();
    if (GetTexture() == 0) {
        RenderTextureId texture = device->CreateTexture(GetWidth(), GetHeight(), true);
        if (!renderer->CheckError(texture != 0, "CreateRenderTarget"))
            return 0;
        SetTexture(texture, GetWidth(), GetHeight());
        m_needsClear = true;
    }
    if (m_needsClear) {
        m_needsClear = false;
        float w = static_cast<float>(GetWidth());
        float h = static_cast<float>(GetHeight());
        RenderVertex corners[4];
        corners[0].x = 0.0f;
        corners[0].y = 0.0f;
        corners[1].x = w;
        corners[1].y = 0.0f;
        corners[2].x = w;
        corners[2].y = h;
        corners[3].x = 0.0f;
        corners[3].y = h;
        for (RenderVertex& corner : corners) {
            corner.r = corner.g = corner.b = 0;
            corner.a = m_clearsOpaque ? 255 : 0;
        }
        const int indices[6] = {0, 1, 2, 0, 2, 3};
        // A fill, not SDL_RenderClear: a clear would ignore the clip.
        device->SetRenderTarget(GetTexture());
        device->SetClip(nullptr);
        renderer->CheckError(device->DrawTriangles(0, corners, 4, indices, 6, RenderBlend::Copy), "Clear");
        m_readBackCurrent = false;
    }
    return GetTexture();
}

void ImageSurface::ContentChanged()
{
    m_readBackCurrent = false;
}

bool ImageSurface::GetTextureSource(TextureSource& source)
{
    if (!m_renderTarget)
        return Image::GetTextureSource(source);
    RenderTextureId texture = GetRenderTexture();
    source = TextureSource{texture, GetWidth(), GetHeight(), Rect{0, 0, GetWidth(), GetHeight()}};
    return texture != 0;
}

bool ImageSurface::UploadTexture()
{
    if (!m_renderTarget)
        return Image::UploadTexture();
    // A render target's contents are gone after a device reset: start cleared.
    m_needsClear = true;
    return GetRenderTexture() != 0;
}

void ImageSurface::ReleaseTexture()
{
    Image::ReleaseTexture();
    m_renderer = nullptr;
    m_readBackCurrent = false;
}

std::uint32_t ImageSurface::ReadPixel(int x, int y) const
{
    if (!m_renderTarget)
        return Image::ReadPixel(x, y);
    if (!m_readBackCurrent)
        ReadBack();
    std::size_t index = static_cast<std::size_t>(y) * GetWidth() + x;
    return index < m_readBack.size() ? m_readBack[index] : 0;
}

void ImageSurface::ReadBack() const
{
    m_readBack.assign(static_cast<std::size_t>(GetWidth()) * GetHeight(), 0u);
    m_readBackCurrent = true;
    auto* self = const_cast<ImageSurface*>(this);
    RenderTextureId texture = self->GetRenderTexture();
    D3DInterface* renderer = m_renderer;
    if (renderer == nullptr || texture == 0)
        return;
    RenderDevice* device = renderer->GetDevice();
    if (!device->SetRenderTarget(texture) ||
        !device->ReadPixels(RenderRect{0, 0, GetWidth(), GetHeight()}, m_readBack.data())) {
        std::fill(m_readBack.begin(), m_readBack.end(), 0u);
        return;
    }
    for (std::uint32_t& pixel : m_readBack)
        pixel = Unpremultiply(pixel);
}

ImageData ImageSurface::ReadImageData() const
{
    if (!m_renderTarget)
        return GetData();
    if (!m_readBackCurrent)
        ReadBack();
    return ImageData{GetWidth(), GetHeight(), m_readBack};
}

ImageSurface* CreateSurfaceFromImageData(Image* image)
{
    if (image == nullptr || image->GetCellWidth() <= 0 || image->GetCellHeight() <= 0)
        return nullptr;
    auto* surface = new ImageSurface(true);
    surface->Create(image->GetCellWidth(), image->GetCellHeight());
    Graphics g(surface);
    g.SetDrawMode(DRAWMODE_COPY);
    g.DrawImage(image, 0, 0, 0);
    return surface;
}
