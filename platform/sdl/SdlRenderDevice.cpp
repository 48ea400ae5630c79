#include "platform/sdl/SdlRenderDevice.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

SDL_BlendMode ToSdlBlend(RenderBlend blend)
{
    switch (blend) {
    case RenderBlend::Normal:
        break;
    case RenderBlend::Additive:
        return SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE, SDL_BLENDOPERATION_ADD,
                                          SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE, SDL_BLENDOPERATION_ADD);
    case RenderBlend::Multiply:
        return SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_DST_COLOR, SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA,
                                          SDL_BLENDOPERATION_ADD, SDL_BLENDFACTOR_ONE,
                                          SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD);
    case RenderBlend::Overlay:
        // 2 x source x target: darkens under dark source, lightens under light.
        return SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_DST_COLOR, SDL_BLENDFACTOR_SRC_COLOR,
                                          SDL_BLENDOPERATION_ADD, SDL_BLENDFACTOR_ONE,
                                          SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD);
    case RenderBlend::SoftLight:
        // Screen: target + source x (1 - target).
        return SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_ONE_MINUS_DST_COLOR, SDL_BLENDFACTOR_ONE,
                                          SDL_BLENDOPERATION_ADD, SDL_BLENDFACTOR_ZERO, SDL_BLENDFACTOR_ONE,
                                          SDL_BLENDOPERATION_ADD);
    case RenderBlend::Subtractive:
        return SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE,
                                          SDL_BLENDOPERATION_REV_SUBTRACT, SDL_BLENDFACTOR_ZERO,
                                          SDL_BLENDFACTOR_ONE, SDL_BLENDOPERATION_ADD);
    case RenderBlend::Copy:
        return SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ZERO, SDL_BLENDOPERATION_ADD,
                                          SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ZERO, SDL_BLENDOPERATION_ADD);
    case RenderBlend::MaskByAlpha:
        return SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_ZERO, SDL_BLENDFACTOR_SRC_ALPHA,
                                          SDL_BLENDOPERATION_ADD, SDL_BLENDFACTOR_ZERO,
                                          SDL_BLENDFACTOR_SRC_ALPHA, SDL_BLENDOPERATION_ADD);
    }
    return SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA,
                                      SDL_BLENDOPERATION_ADD, SDL_BLENDFACTOR_ONE,
                                      SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD);
}

SDL_Renderer* TryDriver(SDL_Window* window, const char* driver, Uint32 flags)
{
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, driver);
    int count = SDL_GetNumRenderDrivers();
    for (int i = 0; i < count; ++i) {
        SDL_RendererInfo info;
        if (SDL_GetRenderDriverInfo(i, &info) == 0 && std::strcmp(info.name, driver) == 0)
            return SDL_CreateRenderer(window, i, flags);
    }
    return nullptr;
}

} // namespace

std::unique_ptr<SdlRenderDevice> SdlRenderDevice::Create(SDL_Window* window, bool vsync, std::string* error)
{
    if (window == nullptr) {
        if (error != nullptr)
            *error = "no window";
        return nullptr;
    }
    Uint32 flags = SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE;
    if (vsync)
        flags |= SDL_RENDERER_PRESENTVSYNC;
    SDL_Renderer* renderer = TryDriver(window, "opengles2", flags);
    if (renderer == nullptr)
        renderer = TryDriver(window, "opengl", flags);
    if (renderer == nullptr) {
        renderer = TryDriver(window, "software", SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
        if (renderer != nullptr)
            std::fprintf(stderr, "Warning: software renderer in use, custom blend modes are unavailable\n");
    }
    if (renderer == nullptr) {
        if (error != nullptr)
            *error = std::string("SDL_CreateRenderer: ") + SDL_GetError();
        return nullptr;
    }
    return std::unique_ptr<SdlRenderDevice>(new SdlRenderDevice(renderer));
}

SdlRenderDevice::SdlRenderDevice(SDL_Renderer* renderer) : m_renderer(renderer)
{
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) == 0)
        m_name = info.name;
    m_blendModesWork = m_name != "software";
    SDL_AddEventWatch(reinterpret_cast<SDL_EventFilter>(&SdlRenderDevice::WatchEvents), this);
}

SdlRenderDevice::~SdlRenderDevice()
{
    SDL_DelEventWatch(reinterpret_cast<SDL_EventFilter>(&SdlRenderDevice::WatchEvents), this);
    for (auto& [id, entry] : m_textures)
        SDL_DestroyTexture(entry.texture);
    SDL_DestroyRenderer(m_renderer);
}

int SdlRenderDevice::WatchEvents(void* userData, void* event)
{
    auto* sdlEvent = static_cast<SDL_Event*>(event);
    if (sdlEvent->type == SDL_RENDER_TARGETS_RESET)
        static_cast<SdlRenderDevice*>(userData)->m_targetsReset = true;
    else if (sdlEvent->type == SDL_RENDER_DEVICE_RESET)
        static_cast<SdlRenderDevice*>(userData)->m_deviceReset = true;
    return 1;
}

bool SdlRenderDevice::Fail(const char* context)
{
    m_lastError = std::string(context) + ": " + SDL_GetError();
    return false;
}

RenderTextureId SdlRenderDevice::CreateTexture(int width, int height, bool renderTarget)
{
    if (width <= 0 || height <= 0)
        return 0;
    SDL_Texture* texture =
        SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_ARGB8888,
                          renderTarget ? SDL_TEXTUREACCESS_TARGET : SDL_TEXTUREACCESS_STATIC, width, height);
    if (texture == nullptr) {
        Fail("SDL_CreateTexture");
        return 0;
    }
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
    RenderTextureId id = m_nextId++;
    m_textures[id] = TextureEntry{texture, width, height, -1, renderTarget};
    return id;
}

void SdlRenderDevice::DestroyTexture(RenderTextureId texture)
{
    auto found = m_textures.find(texture);
    if (found == m_textures.end())
        return;
    FlushGeometry();
    if (m_target == texture)
        SetRenderTarget(0);
    SDL_DestroyTexture(found->second.texture);
    m_textures.erase(found);
}

bool SdlRenderDevice::UploadTexture(RenderTextureId texture, const std::uint32_t* pixels)
{
    auto found = m_textures.find(texture);
    if (found == m_textures.end() || pixels == nullptr)
        return false;
    FlushGeometry();
    if (SDL_UpdateTexture(found->second.texture, nullptr, pixels, found->second.width * 4) != 0)
        return Fail("SDL_UpdateTexture");
    return true;
}

bool SdlRenderDevice::SetRenderTarget(RenderTextureId target)
{
    if (target == m_target)
        return true;
    FlushGeometry();
    SDL_Texture* texture = nullptr;
    if (target != 0) {
        auto found = m_textures.find(target);
        if (found == m_textures.end())
            return false;
        texture = found->second.texture;
        if (texture == nullptr)
            return false;
    }
    if (SDL_SetRenderTarget(m_renderer, texture) != 0)
        return Fail("SDL_SetRenderTarget");
    m_target = target;
    // The clip belongs to the target: start each one unclipped.
    SDL_RenderSetClipRect(m_renderer, nullptr);
    m_clipped = false;
    return true;
}

void SdlRenderDevice::SetClip(const RenderRect* clip)
{
    if (clip == nullptr) {
        if (m_clipped) {
            FlushGeometry();
            SDL_RenderSetClipRect(m_renderer, nullptr);
        }
        m_clipped = false;
        return;
    }
    if (m_clipped && clip->x == m_clip.x && clip->y == m_clip.y && clip->width == m_clip.width &&
        clip->height == m_clip.height)
        return;
    FlushGeometry();
    SDL_Rect rect{clip->x, clip->y, clip->width, clip->height};
    SDL_RenderSetClipRect(m_renderer, &rect);
    m_clipped = true;
    m_clip = *clip;
}

bool SdlRenderDevice::DrawTriangles(RenderTextureId texture, const RenderVertex* vertices, int vertexCount,
                                    const int* indices, int indexCount, RenderBlend blend)
{
    if (texture != 0 && m_textures.find(texture) == m_textures.end())
        return false;
    if (vertices == nullptr || vertexCount <= 0)
        return true;
    bool flushed = true;
    if (!m_pendingIndices.empty() && (texture != m_pendingTexture || blend != m_pendingBlend))
        flushed = FlushGeometry();
    m_pendingTexture = texture;
    m_pendingBlend = blend;
    const int base = static_cast<int>(m_pendingVertices.size());
    m_pendingVertices.insert(m_pendingVertices.end(), vertices, vertices + vertexCount);
    if (indices != nullptr) {
        for (int i = 0; i < indexCount; ++i) {
            if (indices[i] < 0 || indices[i] >= vertexCount) {
                // A broken list draws nothing, as SDL would refuse it.
                m_pendingVertices.resize(static_cast<std::size_t>(base));
                return flushed;
            }
        }
        for (int i = 0; i < indexCount; ++i)
            m_pendingIndices.push_back(base + indices[i]);
    } else {
        for (int i = 0; i + 2 < vertexCount; i += 3)
            m_pendingIndices.insert(m_pendingIndices.end(), {base + i, base + i + 1, base + i + 2});
    }
    return flushed;
}

void SdlRenderDevice::ApplyBlend(RenderTextureId texture, RenderBlend blend)
{
    int blendKey = static_cast<int>(blend);
    if (texture == 0) {
        if (m_untexturedBlend != blendKey) {
            if (SDL_SetRenderDrawBlendMode(m_renderer, ToSdlBlend(blend)) != 0)
                SDL_SetRenderDrawBlendMode(m_renderer, SDL_BLENDMODE_BLEND);
            m_untexturedBlend = blendKey;
        }
        return;
    }
    auto found = m_textures.find(texture);
    if (found == m_textures.end() || found->second.blend == blendKey)
        return;
    if (SDL_SetTextureBlendMode(found->second.texture, ToSdlBlend(blend)) != 0)
        SDL_SetTextureBlendMode(found->second.texture, SDL_BLENDMODE_BLEND);
    found->second.blend = blendKey;
}

bool SdlRenderDevice::FlushGeometry()
{
    if (m_pendingIndices.empty()) {
        m_pendingVertices.clear();
        return true;
    }
    SDL_Texture* sdlTexture = nullptr;
    if (m_pendingTexture != 0) {
        auto found = m_textures.find(m_pendingTexture);
        sdlTexture = found != m_textures.end() ? found->second.texture : nullptr;
        if (sdlTexture == nullptr) {
            m_pendingVertices.clear();
            m_pendingIndices.clear();
            return false;
        }
    }
    ApplyBlend(m_pendingTexture, m_pendingBlend);
    const int stride = static_cast<int>(sizeof(RenderVertex));
    const auto* base = reinterpret_cast<const char*>(m_pendingVertices.data());
    int result = SDL_RenderGeometryRaw(
        m_renderer, sdlTexture, reinterpret_cast<const float*>(base), stride,
        reinterpret_cast<const SDL_Color*>(base + offsetof(RenderVertex, r)), stride,
        reinterpret_cast<const float*>(base + offsetof(RenderVertex, u)), stride,
        static_cast<int>(m_pendingVertices.size()), m_pendingIndices.data(),
        static_cast<int>(m_pendingIndices.size()), 4);
    ++m_geometryCalls;
    m_pendingVertices.clear();
    m_pendingIndices.clear();
    if (result != 0)
        return Fail("SDL_RenderGeometry");
    return true;
}

bool SdlRenderDevice::ReadPixels(const RenderRect& area, std::uint32_t* pixels)
{
    FlushGeometry();
    SDL_Rect rect{area.x, area.y, area.width, area.height};
    if (SDL_RenderReadPixels(m_renderer, &rect, SDL_PIXELFORMAT_ARGB8888, pixels, area.width * 4) != 0)
        return Fail("SDL_RenderReadPixels");
    return true;
}

void SdlRenderDevice::Present(RenderTextureId screen, const RenderRect& destination)
{
    FlushGeometry();
    SetRenderTarget(0);
    SDL_RenderSetClipRect(m_renderer, nullptr);
    m_clipped = false;
    SDL_SetRenderDrawBlendMode(m_renderer, SDL_BLENDMODE_NONE);
    m_untexturedBlend = -1;
    auto found = m_textures.find(screen);
    int outputWidth = 0;
    int outputHeight = 0;
    GetOutputSize(outputWidth, outputHeight);
    // Black shows only around a letterboxed screen.
    const bool covered = found != m_textures.end() && destination.x <= 0 && destination.y <= 0 &&
                         destination.x + destination.width >= outputWidth &&
                         destination.y + destination.height >= outputHeight;
    if (!covered) {
        SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
        SDL_RenderClear(m_renderer);
    }
    if (found != m_textures.end()) {
        SDL_SetTextureBlendMode(found->second.texture, SDL_BLENDMODE_NONE);
        found->second.blend = -1;
        // Pixel for pixel, nearest sampling gives the same picture for far
        // less work on a software rasteriser; scaled, it is smoothed.
        const bool oneToOne =
            destination.width == found->second.width && destination.height == found->second.height;
        SDL_SetTextureScaleMode(found->second.texture, oneToOne ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
        SDL_Rect rect{destination.x, destination.y, destination.width, destination.height};
        SDL_RenderCopy(m_renderer, found->second.texture, nullptr, &rect);
        // Drawn from like any other texture in between.
        SDL_SetTextureScaleMode(found->second.texture, SDL_ScaleModeLinear);
    }
    SDL_RenderPresent(m_renderer);
    m_windowCurrent = found != m_textures.end();
    m_shownAt = destination;
}

bool SdlRenderDevice::KeepsWindowPixels()
{
    if (m_windowPixels != WindowPixels::Unknown)
        return m_windowPixels == WindowPixels::Kept;
    // Three presents of colours too dark to see: each must be read back from
    // the back buffer afterwards. A window that swaps between buffers, or
    // leaves them undefined, gives back another colour.
    SetRenderTarget(0);
    SDL_RenderSetClipRect(m_renderer, nullptr);
    m_clipped = false;
    m_windowPixels = WindowPixels::Kept;
    for (Uint8 shade = 1; shade <= 3; ++shade) {
        SDL_SetRenderDrawColor(m_renderer, 0, 0, shade, 255);
        SDL_RenderClear(m_renderer);
        SDL_RenderPresent(m_renderer);
        Uint32 pixel = 0;
        SDL_Rect one{0, 0, 1, 1};
        if (SDL_RenderReadPixels(m_renderer, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4) != 0 ||
            (pixel & 0xFFFFFFu) != shade) {
            m_windowPixels = WindowPixels::Lost;
            break;
        }
    }
    m_windowCurrent = false;
    return m_windowPixels == WindowPixels::Kept;
}

void SdlRenderDevice::PresentAreas(RenderTextureId screen, const RenderRect& destination,
                                   const std::vector<RenderRect>& areas)
{
    FlushGeometry();
    auto found = m_textures.find(screen);
    const bool sameSpot = m_windowCurrent && destination.x == m_shownAt.x && destination.y == m_shownAt.y &&
                          destination.width == m_shownAt.width && destination.height == m_shownAt.height;
    if (found == m_textures.end() || areas.empty() || !sameSpot || destination.width != found->second.width ||
        destination.height != found->second.height || !KeepsWindowPixels()) {
        Present(screen, destination);
        return;
    }
    SetRenderTarget(0);
    SDL_RenderSetClipRect(m_renderer, nullptr);
    m_clipped = false;
    SDL_SetTextureBlendMode(found->second.texture, SDL_BLENDMODE_NONE);
    found->second.blend = -1;
    SDL_SetTextureScaleMode(found->second.texture, SDL_ScaleModeNearest);
    for (const RenderRect& area : areas) {
        SDL_Rect source{area.x, area.y, area.width, area.height};
        SDL_Rect target{destination.x + area.x, destination.y + area.y, area.width, area.height};
        SDL_RenderCopy(m_renderer, found->second.texture, &source, &target);
    }
    SDL_SetTextureScaleMode(found->second.texture, SDL_ScaleModeLinear);
    SDL_RenderPresent(m_renderer);
}

void SdlRenderDevice::GetOutputSize(int& width, int& height) const
{
    if (SDL_GetRendererOutputSize(m_renderer, &width, &height) != 0) {
        width = 0;
        height = 0;
    }
}

int SdlRenderDevice::GetRefreshRate() const
{
    SDL_Window* window = SDL_RenderGetWindow(m_renderer);
    SDL_DisplayMode mode;
    if (window == nullptr || SDL_GetWindowDisplayMode(window, &mode) != 0)
        return 0;
    return std::max(mode.refresh_rate, 0);
}

bool SdlRenderDevice::TakeDeviceReset()
{
    FlushGeometry();
    bool targetsLost = m_targetsReset.exchange(false);
    if (!m_deviceReset.exchange(false))
        return targetsLost;
    // Every texture is gone: make each again under the same id, for the
    // caller to fill.
    SDL_SetRenderTarget(m_renderer, nullptr);
    m_target = 0;
    m_clipped = false;
    m_untexturedBlend = -1;
    for (auto& [id, entry] : m_textures) {
        SDL_DestroyTexture(entry.texture);
        entry.texture =
            SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_ARGB8888,
                              entry.renderTarget ? SDL_TEXTUREACCESS_TARGET : SDL_TEXTUREACCESS_STATIC,
                              entry.width, entry.height);
        entry.blend = -1;
        if (entry.texture != nullptr)
            SDL_SetTextureScaleMode(entry.texture, SDL_ScaleModeLinear);
    }
    return true;
}

bool SdlRenderDevice::UploadTextureArea(RenderTextureId texture, const RenderRect& area,
                                        const std::uint32_t* pixels)
{
    auto found = m_textures.find(texture);
    if (found == m_textures.end() || pixels == nullptr)
        return false;
    const TextureEntry& entry = found->second;
    if (area.x < 0 || area.y < 0 || area.width <= 0 || area.height <= 0 || area.x + area.width > entry.width ||
        area.y + area.height > entry.height)
        return false;
    // Triangles gathered so far still show the old texels.
    FlushGeometry();
    const SDL_Rect rect{area.x, area.y, area.width, area.height};
    if (SDL_UpdateTexture(entry.texture, &rect, pixels, area.width * 4) != 0)
        return Fail("SDL_UpdateTexture");
    return true;
}
