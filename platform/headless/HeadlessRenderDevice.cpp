#include "platform/headless/HeadlessRenderDevice.h"

#include <algorithm>

HeadlessRenderDevice::HeadlessRenderDevice(int outputWidth, int outputHeight)
    : m_outputWidth(outputWidth), m_outputHeight(outputHeight)
{
}

RenderTextureId HeadlessRenderDevice::CreateTexture(int width, int height, bool renderTarget)
{
    if (width <= 0 || height <= 0)
        return 0;
    RenderTextureId id = m_nextId++;
    m_textures[id] = Texture{width, height, renderTarget, {}};
    return id;
}

void HeadlessRenderDevice::DestroyTexture(RenderTextureId texture)
{
    if (m_target == texture)
        m_target = 0;
    m_textures.erase(texture);
}

bool HeadlessRenderDevice::UploadTexture(RenderTextureId texture, const std::uint32_t* pixels)
{
    auto found = m_textures.find(texture);
    if (pixels == nullptr || found == m_textures.end())
        return false;
    Texture& entry = found->second;
    entry.texels.assign(pixels, pixels + static_cast<std::size_t>(entry.width) * entry.height);
    ++m_uploads;
    return true;
}

bool HeadlessRenderDevice::UploadTextureArea(RenderTextureId texture, const RenderRect& area,
                                             const std::uint32_t* pixels)
{
    auto found = m_textures.find(texture);
    if (pixels == nullptr || found == m_textures.end())
        return false;
    Texture& entry = found->second;
    if (area.x < 0 || area.y < 0 || area.width <= 0 || area.height <= 0 ||
        area.x + area.width > entry.width || area.y + area.height > entry.height)
        return false;
    entry.texels.resize(static_cast<std::size_t>(entry.width) * entry.height);
    for (int row = 0; row < area.height; ++row)
        std::copy_n(pixels + static_cast<std::size_t>(row) * area.width, area.width,
                    entry.texels.begin() + static_cast<long>(area.y + row) * entry.width + area.x);
    ++m_areaUploads;
    return true;
}

bool HeadlessRenderDevice::SetRenderTarget(RenderTextureId target)
{
    if (target != 0) {
        auto found = m_textures.find(target);
        if (found == m_textures.end() || !found->second.renderTarget)
            return false;
    }
    if (target != m_target)
        m_clip.reset();
    m_target = target;
    return true;
}

void HeadlessRenderDevice::SetClip(const RenderRect* clip)
{
    if (clip == nullptr)
        m_clip.reset();
    else
        m_clip = *clip;
}

bool HeadlessRenderDevice::DrawTriangles(RenderTextureId texture, const RenderVertex* vertices,
                                         int vertexCount, const int* indices, int indexCount,
                                         RenderBlend blend)
{
    if (texture != 0 && m_textures.count(texture) == 0)
        return false;
    DrawCall call{m_target, texture, blend, m_clip, {}};
    if (indices != nullptr) {
        for (int i = 0; i < indexCount; ++i) {
            if (indices[i] < 0 || indices[i] >= vertexCount)
                return false;
            call.vertices.push_back(vertices[indices[i]]);
        }
    } else {
        call.vertices.assign(vertices, vertices + vertexCount);
    }
    m_drawCalls.push_back(std::move(call));
    return true;
}

bool HeadlessRenderDevice::ReadPixels(const RenderRect& area, std::uint32_t* pixels)
{
    if (area.width <= 0 || area.height <= 0)
        return false;
    std::fill(pixels, pixels + static_cast<std::size_t>(area.width) * area.height, 0u);
    return true;
}

void HeadlessRenderDevice::Present(RenderTextureId, const RenderRect& destination)
{
    ++m_presents;
    m_lastPresentArea = destination;
    m_lastPresentedAreas.clear();
}

void HeadlessRenderDevice::PresentAreas(RenderTextureId screen, const RenderRect& destination,
                                        const std::vector<RenderRect>& areas)
{
    Present(screen, destination);
    m_lastPresentedAreas = areas;
}

void HeadlessRenderDevice::GetOutputSize(int& width, int& height) const
{
    width = m_outputWidth;
    height = m_outputHeight;
}

bool HeadlessRenderDevice::TakeDeviceReset()
{
    bool reset = m_reset;
    m_reset = false;
    return reset;
}
