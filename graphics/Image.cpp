#include "graphics/Image.h"

#include "graphics/D3DInterface.h"
#include "graphics/ImageDecoders.h"
#include "platform/Clock.h"

#include <algorithm>
#include <climits>
#include <set>

namespace {

std::atomic<bool> s_pixelsReleased{false};
// Images whose file can give their pixels again. The lock also keeps an
// image alive while the idle release looks at it.
std::mutex s_reloadableLock;
std::set<Image*> s_reloadable;

std::uint32_t PremultiplyPixel(std::uint32_t argb)
{
    std::uint32_t a = argb >> 24;
    if (a == 255)
        return argb;
    if (a == 0)
        return 0;
    auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (scale((argb >> 16) & 0xFF) << 16) | (scale((argb >> 8) & 0xFF) << 8) |
           scale(argb & 0xFF);
}

} // namespace

Image::Image(ImageData data)
{
    SetData(std::move(data));
}

Image::~Image()
{
    {
        std::lock_guard<std::mutex> hold(s_reloadableLock);
        s_reloadable.erase(this);
    }
    Image::ReleaseTexture();
}

void Image::SetData(ImageData data)
{
    std::lock_guard<std::mutex> hold(m_dataLock);
    m_data = std::move(data);
    m_pixelsReleased = false;
    m_reloadFailed = false;
    if (m_data.pixels.size() !=
        static_cast<std::size_t>(std::max(m_data.width, 0)) * std::max(m_data.height, 0))
        m_data = ImageData{};
    m_width = m_data.width;
    m_height = m_data.height;
    m_textureCurrent = false;
    m_usedMs = CurrentClock().NowMs();
}

bool Image::HasData() const
{
    std::lock_guard<std::mutex> hold(m_dataLock);
    return !m_data.IsEmpty() || m_pixelsReleased;
}

const ImageData& Image::GetData() const
{
    std::lock_guard<std::mutex> hold(m_dataLock);
    if (m_pixelsReleased) {
        m_keepPixels = true;
        RestorePixels();
    }
    return m_data;
}

bool Image::TakePixelsReleased()
{
    return s_pixelsReleased.exchange(false);
}

void Image::SetReloader(Reloader reloader)
{
    const bool reloadable = static_cast<bool>(reloader);
    {
        std::lock_guard<std::mutex> hold(m_dataLock);
        m_reloader = std::move(reloader);
    }
    std::lock_guard<std::mutex> hold(s_reloadableLock);
    if (reloadable)
        s_reloadable.insert(this);
    else
        s_reloadable.erase(this);
}

int Image::ReleaseIdleImages(std::uint64_t usedBeforeFrame, std::uint64_t usedBeforeMs)
{
    std::lock_guard<std::mutex> hold(s_reloadableLock);
    int released = 0;
    for (Image* image : s_reloadable) {
        if (image->ReleaseIdle(usedBeforeFrame, usedBeforeMs))
            ++released;
    }
    return released;
}

bool Image::RestorePixels() const
{
    if (!m_pixelsReleased)
        return true;
    ImageData again;
    // The file must give the same picture: another size would not match the cells.
    if (m_reloadFailed || !m_reloader || !m_reloader(again) || again.width != m_data.width ||
        again.height != m_data.height ||
        again.pixels.size() != static_cast<std::size_t>(again.width) * again.height) {
        m_reloadFailed = true;
        return false;
    }
    m_data = std::move(again);
    m_pixelsReleased = false;
    return true;
}

void Image::Unload()
{
    {
        std::lock_guard<std::mutex> hold(m_dataLock);
        m_data = ImageData{};
        m_pixelsReleased = false;
        m_textureCurrent = false;
    }
    ReleaseTexture();
}

bool Image::WriteArea(const Rect& area, const std::uint32_t* pixels)
{
    std::lock_guard<std::mutex> hold(m_dataLock);
    if (!RestorePixels() || pixels == nullptr || area.x < 0 || area.y < 0 || area.width <= 0 ||
        area.height <= 0 || area.x + area.width > m_data.width || area.y + area.height > m_data.height)
        return false;
    m_reloader = nullptr;
    std::vector<std::uint32_t> premultiplied(static_cast<std::size_t>(area.width) * area.height);
    for (int row = 0; row < area.height; ++row) {
        const std::uint32_t* from = pixels + static_cast<std::size_t>(row) * area.width;
        std::copy_n(from, area.width,
                    m_data.pixels.begin() + static_cast<long>(area.y + row) * m_data.width + area.x);
        std::transform(from, from + area.width, premultiplied.begin() + static_cast<long>(row) * area.width,
                       PremultiplyPixel);
    }
    D3DInterface* renderer = D3DInterface::GetCurrent();
    // Without a current texture the whole image goes up at the next draw.
    if (!m_textureCurrent || m_texture == 0 || renderer == nullptr)
        return true;
    const RenderRect changed{area.x, area.y, area.width, area.height};
    m_textureCurrent = renderer->CheckError(
        renderer->GetDevice()->UploadTextureArea(m_texture, changed, premultiplied.data()),
        "UpdateTextureArea");
    return true;
}

void Image::SetSize(int width, int height)
{
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
}

void Image::SetGrid(int rows, int columns)
{
    // More cells than pixels on a side mean nothing; the bound also keeps the cell count within an int.
    m_rows = std::clamp(rows, 1, kMaxImageSide);
    m_columns = std::clamp(columns, 1, kMaxImageSide);
}

void Image::SetFrames(std::vector<Rect> frames)
{
    m_frames = std::move(frames);
}

int Image::GetWidth() const
{
    return m_width;
}

int Image::GetHeight() const
{
    return m_height;
}

int Image::GetCellCount() const
{
    if (!m_frames.empty())
        return static_cast<int>(m_frames.size());
    return static_cast<int>(std::min<long long>(static_cast<long long>(m_rows) * m_columns, INT_MAX));
}

int Image::GetCellWidth() const
{
    if (!m_frames.empty())
        return m_frames.front().width;
    return m_width / m_columns;
}

int Image::GetCellHeight() const
{
    if (!m_frames.empty())
        return m_frames.front().height;
    return m_height / m_rows;
}

Rect Image::GetCellRect(int cell) const
{
    if (cell < 0 || cell >= GetCellCount())
        cell = 0;
    if (!m_frames.empty())
        return m_frames[static_cast<std::size_t>(cell)];
    int columns = m_columns;
    int cellWidth = GetCellWidth();
    int cellHeight = GetCellHeight();
    return Rect{(cell % columns) * cellWidth, (cell / columns) * cellHeight, cellWidth, cellHeight};
}

std::uint32_t Image::GetPixel(int x, int y, int cell) const
{
    if (cell < 0 || cell >= GetCellCount())
        return 0;
    Rect area = GetCellRect(cell);
    if (x < 0 || y < 0 || x >= area.width || y >= area.height)
        return 0;
    return GetImagePixel(area.x + x, area.y + y);
}

std::uint32_t Image::GetImagePixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    return ReadPixel(x, y);
}

std::uint32_t Image::ReadPixel(int x, int y) const
{
    std::lock_guard<std::mutex> hold(m_dataLock);
    m_usedMs = CurrentClock().NowMs();
    m_pixelsRead = true;
    if (!RestorePixels())
        return 0;
    if (x >= m_data.width || y >= m_data.height)
        return 0;
    return m_data.At(x, y);
}

bool Image::GetTextureSource(TextureSource& source)
{
    if (!m_textureCurrent && !UploadTexture())
        return false;
    if (D3DInterface* renderer = D3DInterface::GetCurrent()) {
        m_drawnFrame = renderer->GetFrame();
        m_usedMs = CurrentClock().NowMs();
    }
    source = TextureSource{m_texture, m_textureWidth, m_textureHeight,
                           Rect{0, 0, m_textureWidth, m_textureHeight}};
    return m_texture != 0;
}

bool Image::UploadTexture()
{
    D3DInterface* renderer = D3DInterface::GetCurrent();
    if (renderer == nullptr)
        return false;
    std::lock_guard<std::mutex> hold(m_dataLock);
    // After a device reset the released pixels come back from the file.
    if (!RestorePixels() || m_data.IsEmpty())
        return false;
    RenderDevice* device = renderer->GetDevice();
    // New pixels of another size need a texture of their size.
    if (m_texture != 0 && (m_textureWidth != m_data.width || m_textureHeight != m_data.height)) {
        renderer->DestroyTexture(m_texture);
        m_texture = 0;
    }
    if (m_texture == 0) {
        m_texture = device->CreateTexture(m_data.width, m_data.height, false);
        if (!renderer->CheckError(m_texture != 0, "CreateTexture"))
            return false;
        m_textureWidth = m_data.width;
        m_textureHeight = m_data.height;
    }
    if (!m_registered) {
        renderer->RegisterImage(this);
        m_registered = true;
    }
    std::vector<std::uint32_t> premultiplied(m_data.pixels.size());
    std::transform(m_data.pixels.begin(), m_data.pixels.end(), premultiplied.begin(), PremultiplyPixel);
    m_textureCurrent =
        renderer->CheckError(device->UploadTexture(m_texture, premultiplied.data()), "UpdateTexture");
    // The texture holds them now: nobody needs them in memory as well.
    if (m_textureCurrent && m_reloader && !m_keepPixels && !m_pixelsRead) {
        m_data.pixels = std::vector<std::uint32_t>();
        m_pixelsReleased = true;
        s_pixelsReleased = true;
    }
    return m_textureCurrent;
}

void Image::ReleaseTexture()
{
    D3DInterface* renderer = D3DInterface::GetCurrent();
    if (renderer != nullptr) {
        if (m_texture != 0)
            renderer->DestroyTexture(m_texture);
        if (m_registered)
            renderer->UnregisterImage(this);
    }
    m_texture = 0;
    m_registered = false;
    m_textureCurrent = false;
}

bool Image::ReleaseIdle(std::uint64_t usedBeforeFrame, std::uint64_t usedBeforeMs)
{
    {
        std::lock_guard<std::mutex> hold(m_dataLock);
        // Pixels made in code, or held by someone, cannot go.
        if (!m_reloader || m_keepPixels || m_reloadFailed)
            return false;
        const bool drawnSince = m_drawnFrame != 0 && m_drawnFrame >= usedBeforeFrame;
        if (drawnSince || m_usedMs >= usedBeforeMs)
            return false;
        if (m_texture == 0 && (m_pixelsReleased || m_data.pixels.empty()))
            return false;
        if (!m_data.pixels.empty()) {
            m_data.pixels = std::vector<std::uint32_t>();
            m_pixelsReleased = true;
        }
        m_pixelsRead = false;
    }
    ReleaseTexture();
    return true;
}

void Image::SetTexture(RenderTextureId texture, int width, int height)
{
    m_texture = texture;
    m_textureWidth = width;
    m_textureHeight = height;
    m_textureCurrent = texture != 0;
    if (texture != 0 && !m_registered) {
        if (D3DInterface* renderer = D3DInterface::GetCurrent()) {
            renderer->RegisterImage(this);
            m_registered = true;
        }
    }
    SetSize(width, height);
}
