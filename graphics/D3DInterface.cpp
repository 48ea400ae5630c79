#include "graphics/D3DInterface.h"

#include "base/LogWriter.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageSurface.h"
#include "platform/Clock.h"

#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

D3DInterface* s_current = nullptr;

}

D3DInterface::D3DInterface(std::unique_ptr<RenderDevice> device, int width, int height)
    : m_device(std::move(device)), m_width(width), m_height(height),
      m_viewProjection(MakeViewProjection(width, height))
{
    s_current = this;
    if (!m_device->SupportsBlendModes())
        LogWriter::WriteLine("The " + m_device->GetName() +
                             " renderer is in use: custom blend modes are unavailable");
    m_screen = std::make_unique<ImageSurface>(true);
    m_screen->SetClearsOpaque(true);
    m_screen->Create(width, height);
}

D3DInterface::~D3DInterface()
{
    m_freeSurfaces.clear();
    m_usedSurfaces.clear();
    m_screen.reset();
    // Images outliving the renderer keep their pixels and lose their textures.
    std::set<Image*> images;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        images = m_images;
    }
    for (Image* image : images)
        image->ReleaseTexture();
    for (RenderTextureId texture : m_texturesToDestroy)
        m_device->DestroyTexture(texture);
    if (s_current == this)
        s_current = nullptr;
}

D3DInterface* D3DInterface::GetCurrent()
{
    return s_current;
}

int D3DInterface::GetDisplayWidth() const
{
    int width = 0;
    int height = 0;
    m_device->GetOutputSize(width, height);
    return width;
}

int D3DInterface::GetDisplayHeight() const
{
    int width = 0;
    int height = 0;
    m_device->GetOutputSize(width, height);
    return height;
}

Matrix4 D3DInterface::MakeViewProjection(int width, int height)
{
    // A 45 degree vertical field of view whose plane z = 0 shows exactly the
    // target: x' = (2x / width - 1) / w with w = 1 + z / focal.
    float w = static_cast<float>(std::max(width, 1));
    float h = static_cast<float>(std::max(height, 1));
    float focal = (h / 2.0f) / std::tan(std::numbers::pi_v<float> / 8.0f);
    Matrix4 m;
    m.Set(0, 0, 2.0f / w);
    m.Set(0, 3, -1.0f);
    m.Set(1, 1, 2.0f / h);
    m.Set(1, 3, -1.0f);
    m.Set(2, 2, 1.0f / focal);
    m.Set(3, 2, 1.0f / focal);
    m.Set(3, 3, 1.0f);
    return m;
}

ImageSurface* D3DInterface::CaptureScreenImage()
{
    auto* capture = new ImageSurface(true);
    capture->Create(m_width, m_height);
    Graphics g(capture);
    g.SetDrawMode(DRAWMODE_COPY);
    g.DrawImage(m_screen.get(), 0, 0, 0);
    return capture;
}

void D3DInterface::DestroyTexture(RenderTextureId texture)
{
    if (texture == 0)
        return;
    if (IsMainThread()) {
        m_device->DestroyTexture(texture);
        return;
    }
    std::lock_guard<std::mutex> hold(m_lock);
    m_texturesToDestroy.push_back(texture);
}

void D3DInterface::Present(bool stretch, const std::vector<Rect>* areas)
{
    std::vector<RenderTextureId> doomed;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        doomed.swap(m_texturesToDestroy);
    }
    for (RenderTextureId texture : doomed)
        m_device->DestroyTexture(texture);
    CheckDeviceReset();
    // Pixels let go after their upload lie in freed heap blocks the allocator
    // keeps: hand the free pages back.
    if (Image::TakePixelsReleased())
        malloc_trim(0);
    int outputWidth = 0;
    int outputHeight = 0;
    m_device->GetOutputSize(outputWidth, outputHeight);
    RenderRect destination{0, 0, outputWidth, outputHeight};
    if (!stretch && outputWidth > 0 && outputHeight > 0) {
        double scale = std::min(static_cast<double>(outputWidth) / m_width,
                                static_cast<double>(outputHeight) / m_height);
        destination.width = static_cast<int>(m_width * scale + 0.5);
        destination.height = static_cast<int>(m_height * scale + 0.5);
        destination.x = (outputWidth - destination.width) / 2;
        destination.y = (outputHeight - destination.height) / 2;
    }
    const bool whole = areas == nullptr || std::any_of(areas->begin(), areas->end(), [this](const Rect& area) {
        return area.Encloses(Rect{0, 0, m_width, m_height});
    });
    if (whole)
        m_wholeFrame = m_frame;
    ++m_frame;
    if (whole) {
        m_device->Present(m_screen->GetRenderTexture(), destination);
        return;
    }
    std::vector<RenderRect> changed;
    for (const Rect& area : *areas) {
        const Rect inside = area.Intersection(Rect{0, 0, m_width, m_height});
        if (!inside.IsEmpty())
            changed.push_back(RenderRect{inside.x, inside.y, inside.width, inside.height});
    }
    m_device->PresentAreas(m_screen->GetRenderTexture(), destination, changed);
}

void D3DInterface::CheckDeviceReset()
{
    if (!m_device->TakeDeviceReset())
        return;
    m_screenLost = true;
    std::set<Image*> images;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        images = m_images;
    }
    for (Image* image : images)
        image->UploadTexture();
}

int D3DInterface::ReleaseIdleImages()
{
    // Often enough that an image goes soon after its time, seldom enough to cost nothing.
    constexpr std::uint64_t kCheckEveryMs = 500;
    const std::uint64_t now = CurrentClock().NowMs();
    if (now < m_nextIdleCheckMs || now < kIdleImageMs)
        return 0;
    m_nextIdleCheckMs = now + kCheckEveryMs;
    const int released = Image::ReleaseIdleImages(m_wholeFrame, now - kIdleImageMs);
    // The pixels and the driver's texels went into freed heap blocks: hand the free pages back.
    if (released > 0)
        malloc_trim(0);
    return released;
}

void D3DInterface::ClearScreenArea(const Rect& area)
{
    RenderTextureId texture = m_screen->GetRenderTexture();
    if (texture == 0 || area.IsEmpty() || !m_device->SetRenderTarget(texture))
        return;
    const float left = static_cast<float>(area.x);
    const float top = static_cast<float>(area.y);
    const float right = static_cast<float>(area.x + area.width);
    const float bottom = static_cast<float>(area.y + area.height);
    // Black as the window shows it (the window keeps no alpha).
    const std::uint8_t alpha = m_screen->ClearsOpaque() ? 255 : 0;
    RenderVertex corners[4] = {{left, top, 0, 0, 0, alpha, 0.0f, 0.0f},
                               {right, top, 0, 0, 0, alpha, 0.0f, 0.0f},
                               {right, bottom, 0, 0, 0, alpha, 0.0f, 0.0f},
                               {left, bottom, 0, 0, 0, alpha, 0.0f, 0.0f}};
    const int indices[6] = {0, 1, 2, 0, 2, 3};
    RenderRect clip{area.x, area.y, area.width, area.height};
    m_device->SetClip(&clip);
    CheckError(m_device->DrawTriangles(0, corners, 4, indices, 6, RenderBlend::Copy), "ClearArea");
    m_screen->ContentChanged();
}

bool D3DInterface::TakeScreenLost()
{
    const bool lost = m_screenLost;
    m_screenLost = false;
    return lost;
}

bool D3DInterface::CheckError(bool succeeded, const std::string& context)
{
    if (succeeded)
        return true;
    m_lastError = context + ": " + m_device->GetLastError();
    LogWriter::WriteLine(m_lastError);
    return false;
}

void D3DInterface::RegisterImage(Image* image)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_images.insert(image);
}

void D3DInterface::UnregisterImage(Image* image)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_images.erase(image);
}

ImageSurface* D3DInterface::GetTempSurface(int width, int height)
{
    std::lock_guard<std::mutex> hold(m_poolLock);
    auto found = std::find_if(m_freeSurfaces.begin(), m_freeSurfaces.end(), [&](const auto& surface) {
        return surface->GetWidth() == width && surface->GetHeight() == height;
    });
    std::unique_ptr<ImageSurface> surface;
    if (found != m_freeSurfaces.end()) {
        surface = std::move(*found);
        m_freeSurfaces.erase(found);
        surface->Clear();
    } else {
        surface = std::make_unique<ImageSurface>(true);
        surface->Create(width, height);
        // Its texture is made here, so the surface knows the pool it goes back to.
        surface->GetRenderTexture();
    }
    m_usedSurfaces.push_back(std::move(surface));
    return m_usedSurfaces.back().get();
}

void D3DInterface::ReleaseTempSurface(ImageSurface* surface)
{
    std::lock_guard<std::mutex> hold(m_poolLock);
    auto found = std::find_if(m_usedSurfaces.begin(), m_usedSurfaces.end(),
                              [surface](const auto& used) { return used.get() == surface; });
    if (found == m_usedSurfaces.end())
        return;
    m_freeSurfaces.push_back(std::move(*found));
    m_usedSurfaces.erase(found);
    // Keep the pool small: surfaces of sizes no longer asked for go.
    if (m_freeSurfaces.size() > 8)
        m_freeSurfaces.erase(m_freeSurfaces.begin());
}
