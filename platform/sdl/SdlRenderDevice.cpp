#include "platform/sdl/SdlRenderDevice.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
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
        // The target's alpha stays (target x 1 - source x 0): one operation
        // for colour and alpha, as SDL's desktop GL driver requires.
        return SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE,
                                          SDL_BLENDOPERATION_REV_SUBTRACT, SDL_BLENDFACTOR_ZERO,
                                          SDL_BLENDFACTOR_ONE, SDL_BLENDOPERATION_REV_SUBTRACT);
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

// Whether every vertex sits a whole number of pixels away from its texel:
// the triangles copy texels to pixels one to one, so nearest sampling draws
// exactly what smoothing would, for far less work on a software rasteriser.
bool IsPixelAligned(const RenderVertex* vertices, int count, int textureWidth, int textureHeight)
{
    constexpr float kTolerance = 1.0f / 1024.0f;
    const auto offset = [&](int i, bool vertical) {
        return vertical ? vertices[i].y - vertices[i].v * static_cast<float>(textureHeight)
                        : vertices[i].x - vertices[i].u * static_cast<float>(textureWidth);
    };
    const float dx = std::round(offset(0, false));
    const float dy = std::round(offset(0, true));
    for (int i = 0; i < count; ++i) {
        if (std::fabs(offset(i, false) - dx) > kTolerance || std::fabs(offset(i, true) - dy) > kTolerance)
            return false;
    }
    return true;
}

// The widest run of whole opaque rows and the widest run of whole opaque
// columns of the pixels (empty rectangles when there are none).
void FindOpaqueBands(const std::uint32_t* pixels, int width, int height, RenderRect& rows, RenderRect& columns)
{
    std::vector<bool> columnOpaque(static_cast<std::size_t>(width), true);
    int runStart = 0;
    rows = RenderRect{};
    for (int y = 0; y <= height; ++y) {
        bool rowOpaque = y < height;
        for (int x = 0; y < height && x < width; ++x) {
            if ((pixels[static_cast<std::size_t>(y) * width + x] >> 24) != 0xFFu) {
                rowOpaque = false;
                columnOpaque[static_cast<std::size_t>(x)] = false;
            }
        }
        if (rowOpaque)
            continue;
        if (y - runStart > rows.height)
            rows = RenderRect{0, runStart, width, y - runStart};
        runStart = y + 1;
    }
    columns = RenderRect{};
    runStart = 0;
    for (int x = 0; x <= width; ++x) {
        if (x < width && columnOpaque[static_cast<std::size_t>(x)])
            continue;
        if (x - runStart > columns.width)
            columns = RenderRect{runStart, 0, x - runStart, height};
        runStart = x + 1;
    }
}

// Mesa's software rasteriser (llvmpipe) starts a thread per core and wakes
// every one of them for each batch of drawing. The frames here mostly redraw
// small areas, where those wake-ups cost more than the drawing: one thread per
// million pixels of the window is plenty. It must be chosen before the GL
// driver loads; a value the player set is kept, and other drivers ignore it.
void ChooseSoftwareRasterThreads(SDL_Window* window)
{
    int width = 0;
    int height = 0;
    SDL_GetWindowSizeInPixels(window, &width, &height);
    const long long pixels = static_cast<long long>(std::max(width, 0)) * std::max(height, 0);
    const long long threads = std::clamp((pixels + 999999) / 1000000, 1LL, 8LL);
    setenv("LP_NUM_THREADS", std::to_string(threads).c_str(), 0);
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
    ChooseSoftwareRasterThreads(window);
    Uint32 flags = SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE;
    if (vsync)
        flags |= SDL_RENDERER_PRESENTVSYNC;
    // GLES 2 first: on Mesa's software rasteriser desktop GL draws for about
    // a tenth less CPU, but its context holds about 2.5 MB more memory.
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
    TextureEntry entry;
    entry.texture = texture;
    entry.width = width;
    entry.height = height;
    entry.nearest = 0;
    entry.renderTarget = renderTarget;
    m_textures[id] = entry;
    return id;
}

void SdlRenderDevice::DestroyTexture(RenderTextureId texture)
{
    auto found = m_textures.find(texture);
    if (found == m_textures.end())
        return;
    FlushGeometry();
    if (m_screenInWindow == texture)
        MoveScreenOutOfWindow(false);
    if (m_target == texture)
        SetRenderTarget(0);
    const TextureEntry gone = found->second;
    SDL_DestroyTexture(gone.texture);
    m_textures.erase(found);
    if (!gone.renderTarget)
        return;
    // SDL's GL drivers share one framebuffer object among the render targets
    // of a size, and it keeps the texture last attached to it alive, even
    // destroyed. Mesa lets its texels go once another is attached and drawn
    // into: a see-through point changes no pixel of it.
    for (const auto& [id, entry] : m_textures) {
        if (entry.renderTarget && entry.texture != nullptr && entry.width == gone.width &&
            entry.height == gone.height) {
            SDL_SetRenderTarget(m_renderer, entry.texture);
            SDL_SetRenderDrawBlendMode(m_renderer, SDL_BLENDMODE_BLEND);
            m_untexturedBlend = -1;
            SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 0);
            SDL_RenderDrawPoint(m_renderer, 0, 0);
            SDL_RenderFlush(m_renderer);
            ApplyTarget();
            break;
        }
    }
}

bool SdlRenderDevice::UploadTexture(RenderTextureId texture, const std::uint32_t* pixels)
{
    auto found = m_textures.find(texture);
    if (found == m_textures.end() || pixels == nullptr)
        return false;
    if (m_screenInWindow == texture)
        MoveScreenOutOfWindow(false);
    FlushIfDrawnFrom(texture);
    if (SDL_UpdateTexture(found->second.texture, nullptr, pixels, found->second.width * 4) != 0)
        return Fail("SDL_UpdateTexture");
    FindOpaqueBands(pixels, found->second.width, found->second.height, found->second.opaqueRows,
                    found->second.opaqueColumns);
    return true;
}

bool SdlRenderDevice::SetRenderTarget(RenderTextureId target)
{
    if (target == m_target)
        return true;
    if (target != 0) {
        auto found = m_textures.find(target);
        if (found == m_textures.end() || found->second.texture == nullptr)
            return false;
    }
    FlushGeometry();
    // A window resized since the last present may have let its pixels go.
    if (target != 0 && target == m_screenInWindow && !ShowsOneToOne(target, m_shownAt))
        MoveScreenOutOfWindow(false);
    const RenderTextureId previous = m_target;
    m_target = target;
    // The clip belongs to the target: start each one unclipped.
    m_clipped = false;
    if (!ApplyTarget()) {
        m_target = previous;
        ApplyTarget();
        return false;
    }
    return true;
}

bool SdlRenderDevice::ApplyTarget()
{
    SDL_Texture* texture = nullptr;
    if (m_target != 0 && m_target != m_screenInWindow) {
        auto found = m_textures.find(m_target);
        texture = found != m_textures.end() ? found->second.texture : nullptr;
    }
    if (SDL_SetRenderTarget(m_renderer, texture) != 0)
        return Fail("SDL_SetRenderTarget");
    const SDL_Rect rect{m_clip.x, m_clip.y, m_clip.width, m_clip.height};
    SDL_RenderSetClipRect(m_renderer, m_clipped ? &rect : nullptr);
    return true;
}

bool SdlRenderDevice::ShowsOneToOne(RenderTextureId screen, const RenderRect& destination) const
{
    const auto found = m_textures.find(screen);
    if (found == m_textures.end())
        return false;
    int width = 0;
    int height = 0;
    GetOutputSize(width, height);
    const int textureWidth = found->second.width;
    const int textureHeight = found->second.height;
    return destination.x == 0 && destination.y == 0 && destination.width == textureWidth &&
           destination.height == textureHeight && width == textureWidth && height == textureHeight;
}

void SdlRenderDevice::MoveScreenOutOfWindow(bool keepPixels)
{
    const RenderTextureId screen = m_screenInWindow;
    if (screen == 0)
        return;
    FlushGeometry();
    m_screenInWindow = 0;
    bool kept = false;
    const auto found = m_textures.find(screen);
    if (keepPixels && found != m_textures.end() && SDL_SetRenderTarget(m_renderer, nullptr) == 0) {
        // A band of rows at a time: no buffer here or in SDL is large enough
        // to stay behind in the heap once freed.
        constexpr int kBandRows = 16;
        const int width = found->second.width;
        const int height = found->second.height;
        std::vector<std::uint32_t> band(static_cast<std::size_t>(width) * kBandRows);
        kept = true;
        for (int y = 0; kept && y < height; y += kBandRows) {
            const SDL_Rect rows{0, y, width, std::min(kBandRows, height - y)};
            kept = SDL_RenderReadPixels(m_renderer, &rows, SDL_PIXELFORMAT_ARGB8888, band.data(), width * 4) == 0 &&
                   SDL_UpdateTexture(found->second.texture, &rows, band.data(), width * 4) == 0;
        }
        if (!kept)
            Fail("taking the screen back from the window");
    }
    // Without its pixels the texture no longer matches what the window shows.
    m_windowCurrent = m_windowCurrent && kept;
    // Drawings into the screen go to the texture from here on, with the clip they had.
    ApplyTarget();
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
    const auto found = texture != 0 ? m_textures.find(texture) : m_textures.end();
    if (texture != 0 && found == m_textures.end())
        return false;
    if (vertices == nullptr || vertexCount <= 0)
        return true;
    // Drawing from the screen needs its pixels in the texture.
    if (texture != 0 && texture == m_screenInWindow)
        MoveScreenOutOfWindow(true);
    if (indices != nullptr) {
        for (int i = 0; i < indexCount; ++i) {
            // A broken list draws nothing, as SDL would refuse it.
            if (indices[i] < 0 || indices[i] >= vertexCount)
                return true;
        }
    }
    const bool aligned =
        found != m_textures.end() && IsPixelAligned(vertices, vertexCount, found->second.width, found->second.height);
    if (HidesEverythingBelow(texture, vertices, vertexCount, indices, indexCount, blend, aligned)) {
        m_pendingVertices.clear();
        m_pendingIndices.clear();
        m_batches.clear();
    }
    if (m_batches.empty() || m_batches.back().texture != texture || m_batches.back().blend != blend ||
        m_batches.back().aligned != aligned)
        m_batches.push_back(Batch{texture, blend, aligned, m_pendingIndices.size(), 0});
    const int base = static_cast<int>(m_pendingVertices.size());
    m_pendingVertices.insert(m_pendingVertices.end(), vertices, vertices + vertexCount);
    const std::size_t before = m_pendingIndices.size();
    if (indices != nullptr) {
        for (int i = 0; i < indexCount; ++i)
            m_pendingIndices.push_back(base + indices[i]);
    } else {
        for (int i = 0; i + 2 < vertexCount; i += 3)
            m_pendingIndices.insert(m_pendingIndices.end(), {base + i, base + i + 1, base + i + 2});
    }
    m_batches.back().indexCount += m_pendingIndices.size() - before;
    return true;
}

bool SdlRenderDevice::HidesEverythingBelow(RenderTextureId texture, const RenderVertex* vertices, int vertexCount,
                                           const int* indices, int indexCount, RenderBlend blend,
                                           bool aligned) const
{
    if (m_batches.empty() || (blend != RenderBlend::Normal && blend != RenderBlend::Copy))
        return false;

    // One rectangle: four corners in two triangles that meet on a diagonal.
    if (vertexCount != 4 || indices == nullptr || indexCount != 6)
        return false;
    float left = vertices[0].x;
    float right = vertices[0].x;
    float top = vertices[0].y;
    float bottom = vertices[0].y;
    for (int i = 1; i < 4; ++i) {
        left = std::min(left, vertices[i].x);
        right = std::max(right, vertices[i].x);
        top = std::min(top, vertices[i].y);
        bottom = std::max(bottom, vertices[i].y);
    }
    int corner[4];
    int seen = 0;
    for (int i = 0; i < 4; ++i) {
        const bool atLeft = vertices[i].x == left;
        const bool atTop = vertices[i].y == top;
        if ((!atLeft && vertices[i].x != right) || (!atTop && vertices[i].y != bottom))
            return false;
        corner[i] = (atLeft ? 0 : 1) + (atTop ? 0 : 2);
        seen |= 1 << corner[i];
    }
    if (seen != 0xF)
        return false;
    int shared = 0;
    for (int a = 0; a < 3; ++a) {
        for (int b = 3; b < 6; ++b) {
            if (indices[a] == indices[b])
                shared |= 1 << corner[indices[a]];
        }
    }
    // Two shared corners, opposite each other (0 and 3, or 1 and 2).
    if (shared != 0x9 && shared != 0x6)
        return false;
    for (int t = 0; t < 2; ++t) {
        if (indices[3 * t] == indices[3 * t + 1] || indices[3 * t] == indices[3 * t + 2] ||
            indices[3 * t + 1] == indices[3 * t + 2])
            return false;
    }

    RenderRect area = m_clip;
    if (!m_clipped) {
        area = RenderRect{};
        if (m_target == 0)
            GetOutputSize(area.width, area.height);
        else if (const auto target = m_textures.find(m_target); target != m_textures.end())
            area = RenderRect{0, 0, target->second.width, target->second.height};
    }
    if (area.width <= 0 || area.height <= 0)
        return false;
    const auto covers = [&area](float x1, float y1, float x2, float y2) {
        return x1 <= static_cast<float>(area.x) && y1 <= static_cast<float>(area.y) &&
               x2 >= static_cast<float>(area.x + area.width) && y2 >= static_cast<float>(area.y + area.height);
    };
    if (!covers(left, top, right, bottom))
        return false;
    // Copy replaces whatever it draws over; Normal only where it is opaque.
    if (blend == RenderBlend::Copy)
        return true;
    for (int i = 0; i < 4; ++i) {
        if (vertices[i].a != 255)
            return false;
    }
    if (texture == 0)
        return true;
    const auto found = m_textures.find(texture);
    if (!aligned || found == m_textures.end())
        return false;
    // Texel (x, y) lands on pixel (x + dx, y + dy).
    const float dx = std::round(vertices[0].x - vertices[0].u * static_cast<float>(found->second.width));
    const float dy = std::round(vertices[0].y - vertices[0].v * static_cast<float>(found->second.height));
    for (const RenderRect& opaque : {found->second.opaqueRows, found->second.opaqueColumns}) {
        if (opaque.width <= 0 || opaque.height <= 0)
            continue;
        const float x1 = std::max(left, static_cast<float>(opaque.x) + dx);
        const float y1 = std::max(top, static_cast<float>(opaque.y) + dy);
        const float x2 = std::min(right, static_cast<float>(opaque.x + opaque.width) + dx);
        const float y2 = std::min(bottom, static_cast<float>(opaque.y + opaque.height) + dy);
        if (covers(x1, y1, x2, y2))
            return true;
    }
    return false;
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

void SdlRenderDevice::ApplySampling(RenderTextureId texture, bool pixelAligned)
{
    auto found = m_textures.find(texture);
    if (found == m_textures.end() || found->second.nearest == static_cast<int>(pixelAligned))
        return;
    // SDL applies the sampling to the GL texture at once, while drawings it
    // queued from it earlier are still to go out: send those first.
    SDL_RenderFlush(m_renderer);
    SDL_SetTextureScaleMode(found->second.texture, pixelAligned ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    found->second.nearest = static_cast<int>(pixelAligned);
}

void SdlRenderDevice::FlushIfDrawnFrom(RenderTextureId texture)
{
    // Drawings still to go out from the texture need its old texels.
    if (std::any_of(m_batches.begin(), m_batches.end(),
                    [texture](const Batch& batch) { return batch.texture == texture; }))
        FlushGeometry();
}

bool SdlRenderDevice::FlushGeometry()
{
    bool sent = true;
    const int stride = static_cast<int>(sizeof(RenderVertex));
    const auto* base = reinterpret_cast<const char*>(m_pendingVertices.data());
    for (const Batch& batch : m_batches) {
        if (batch.indexCount == 0)
            continue;
        SDL_Texture* sdlTexture = nullptr;
        if (batch.texture != 0) {
            auto found = m_textures.find(batch.texture);
            sdlTexture = found != m_textures.end() ? found->second.texture : nullptr;
            if (sdlTexture == nullptr) {
                sent = false;
                continue;
            }
        }
        ApplyBlend(batch.texture, batch.blend);
        if (batch.texture != 0)
            ApplySampling(batch.texture, batch.aligned);
        const int result = SDL_RenderGeometryRaw(
            m_renderer, sdlTexture, reinterpret_cast<const float*>(base), stride,
            reinterpret_cast<const SDL_Color*>(base + offsetof(RenderVertex, r)), stride,
            reinterpret_cast<const float*>(base + offsetof(RenderVertex, u)), stride,
            static_cast<int>(m_pendingVertices.size()), m_pendingIndices.data() + batch.firstIndex,
            static_cast<int>(batch.indexCount), 4);
        ++m_geometryCalls;
        if (result != 0)
            sent = Fail("SDL_RenderGeometry");
    }
    m_pendingVertices.clear();
    m_pendingIndices.clear();
    m_batches.clear();
    return sent;
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
    if (m_screenInWindow != 0 && (m_screenInWindow != screen || !ShowsOneToOne(screen, destination))) {
        // Shown elsewhere or scaled now: the texture takes the frame back,
        // unless the window was resized and may have let it go.
        MoveScreenOutOfWindow(ShowsOneToOne(m_screenInWindow, m_shownAt));
    }
    SetRenderTarget(0);
    if (m_screenInWindow != 0) {
        // The frame is already in the window.
        SDL_RenderPresent(m_renderer);
        return;
    }
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
        // Pixel for pixel, nearest sampling; scaled, smoothed.
        ApplySampling(screen, destination.width == found->second.width &&
                                  destination.height == found->second.height);
        SDL_Rect rect{destination.x, destination.y, destination.width, destination.height};
        SDL_RenderCopy(m_renderer, found->second.texture, nullptr, &rect);
    }
    SDL_RenderPresent(m_renderer);
    m_windowCurrent = found != m_textures.end();
    m_shownAt = destination;
    // The window holds the frame and keeps it: the next ones are drawn there.
    if (m_windowCurrent && m_windowPixels == WindowPixels::Kept && ShowsOneToOne(screen, destination))
        m_screenInWindow = screen;
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
    if (m_screenInWindow != 0) {
        Present(screen, destination);
        return;
    }
    auto found = m_textures.find(screen);
    if (found == m_textures.end() || areas.empty() || destination.width != found->second.width ||
        destination.height != found->second.height || !KeepsWindowPixels()) {
        Present(screen, destination);
        return;
    }
    // Finding out whether the window keeps its pixels drew over them: only
    // now is it known whether the window still shows the last frame.
    const bool sameSpot = m_windowCurrent && destination.x == m_shownAt.x && destination.y == m_shownAt.y &&
                          destination.width == m_shownAt.width && destination.height == m_shownAt.height;
    if (!sameSpot) {
        Present(screen, destination);
        return;
    }
    SetRenderTarget(0);
    SDL_RenderSetClipRect(m_renderer, nullptr);
    m_clipped = false;
    SDL_SetTextureBlendMode(found->second.texture, SDL_BLENDMODE_NONE);
    found->second.blend = -1;
    ApplySampling(screen, true);
    for (const RenderRect& area : areas) {
        SDL_Rect source{area.x, area.y, area.width, area.height};
        SDL_Rect target{destination.x + area.x, destination.y + area.y, area.width, area.height};
        SDL_RenderCopy(m_renderer, found->second.texture, &source, &target);
    }
    SDL_RenderPresent(m_renderer);
    // The window holds the whole frame again: the next ones are drawn there.
    if (ShowsOneToOne(screen, destination))
        m_screenInWindow = screen;
}

void SdlRenderDevice::GetOutputSize(int& width, int& height) const
{
    // The window's size, whatever the target: SDL's output size is the target's while one is set, which
    // would have a screen of the target's size shown one to one in a larger window.
    width = 0;
    height = 0;
    if (SDL_Window* window = SDL_RenderGetWindow(m_renderer)) {
        SDL_GetWindowSizeInPixels(window, &width, &height);
    } else if (SDL_GetRendererOutputSize(m_renderer, &width, &height) != 0) {
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
    const bool deviceLost = m_deviceReset.exchange(false);
    if (deviceLost) {
        // Nothing of the old textures or the window is left to take back.
        m_screenInWindow = 0;
        m_windowCurrent = false;
    } else if (targetsLost) {
        MoveScreenOutOfWindow(false);
    }
    if (!deviceLost)
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
        entry.nearest = 0;
        entry.opaqueRows = RenderRect{};
        entry.opaqueColumns = RenderRect{};
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
    TextureEntry& entry = found->second;
    if (area.x < 0 || area.y < 0 || area.width <= 0 || area.height <= 0 || area.x + area.width > entry.width ||
        area.y + area.height > entry.height)
        return false;
    if (m_screenInWindow == texture)
        MoveScreenOutOfWindow(true);
    FlushIfDrawnFrom(texture);
    const SDL_Rect rect{area.x, area.y, area.width, area.height};
    if (SDL_UpdateTexture(entry.texture, &rect, pixels, area.width * 4) != 0)
        return Fail("SDL_UpdateTexture");
    // The new texels may be clear: nothing of it is known opaque any more.
    entry.opaqueRows = RenderRect{};
    entry.opaqueColumns = RenderRect{};
    return true;
}
