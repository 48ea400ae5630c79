#pragma once

#include "platform/RenderDevice.h"

#include <atomic>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

// The renderer over SDL_Renderer: triangles through SDL_RenderGeometryRaw,
// blend modes as SDL custom blend modes. Consecutive drawings with the same
// texture, blend and sampling are gathered and handed to SDL as one geometry
// call. The calls wait until the target or the clip changes, a read, an
// upload or Present: a drawing that covers the whole clip with opaque pixels
// drops the ones before it, which it would hide.
//
// When the window keeps its pixels from one present to the next and shows
// the screen texture one to one, the screen lives in the window instead:
// drawings into the screen texture go straight to the window's back buffer
// and a present copies nothing. The texture takes the window's pixels back
// before anything else uses it (drawing from it, an upload, a present at
// another size).
class SdlRenderDevice : public RenderDevice
{
public:
    // Prefers the "opengles2" driver, then "opengl", then any other with a
    // logged warning; null with the reason in error when none works.
    static std::unique_ptr<SdlRenderDevice> Create(SDL_Window* window, bool vsync,
                                                   std::string* error = nullptr);
    ~SdlRenderDevice() override;

    RenderTextureId CreateTexture(int width, int height, bool renderTarget) override;
    void DestroyTexture(RenderTextureId texture) override;
    bool UploadTexture(RenderTextureId texture, const std::uint32_t* pixels) override;
    bool UploadTextureArea(RenderTextureId texture, const RenderRect& area,
                           const std::uint32_t* pixels) override;
    bool SetRenderTarget(RenderTextureId target) override;
    void SetClip(const RenderRect* clip) override;
    bool DrawTriangles(RenderTextureId texture, const RenderVertex* vertices, int vertexCount,
                       const int* indices, int indexCount, RenderBlend blend) override;
    bool ReadPixels(const RenderRect& area, std::uint32_t* pixels) override;
    void Present(RenderTextureId screen, const RenderRect& destination) override;
    // Copies only the areas when the window keeps its pixels from one present
    // to the next (found out once by presenting known colours and reading
    // them back), the destination is unchanged and one to one.
    void PresentAreas(RenderTextureId screen, const RenderRect& destination,
                      const std::vector<RenderRect>& areas) override;
    void GetOutputSize(int& width, int& height) const override;
    int GetRefreshRate() const override;
    bool TakeDeviceReset() override;
    bool SupportsBlendModes() const override { return m_blendModesWork; }
    std::string GetName() const override { return m_name; }
    std::string GetLastError() const override { return m_lastError; }

    SDL_Renderer* GetRenderer() const { return m_renderer; }
    // Geometry calls made so far (for the benches).
    long long GetGeometryCalls() const { return m_geometryCalls; }
    // Whether drawings into the screen texture go straight to the window.
    bool DrawsScreenInWindow() const { return m_screenInWindow != 0; }

private:
    explicit SdlRenderDevice(SDL_Renderer* renderer);
    static int WatchEvents(void* userData, void* event);
    bool Fail(const char* context);
    // Sends the gathered triangles to SDL; false (with the error kept) when SDL refused them.
    bool FlushGeometry();
    // Sends the gathered triangles when some of them draw from the texture.
    void FlushIfDrawnFrom(RenderTextureId texture);
    // Whether the window's back buffer still holds the last frame after a present.
    bool KeepsWindowPixels();
    // Whether the window shows the texture one to one at its origin, filling it.
    bool ShowsOneToOne(RenderTextureId screen, const RenderRect& destination) const;
    // Ends drawing the screen in the window; with keepPixels the texture takes
    // the window's pixels first (they are the screen's).
    void MoveScreenOutOfWindow(bool keepPixels);
    // Points SDL at the current target (the window for 0 and for the screen
    // living in it) with the current clip.
    bool ApplyTarget();
    // Applies the blend to the texture (or to untextured drawing) when it changed.
    void ApplyBlend(RenderTextureId texture, RenderBlend blend);
    // Nearest sampling for drawings that put each texel on one pixel, smoothing otherwise.
    void ApplySampling(RenderTextureId texture, bool pixelAligned);
    // Whether the drawing leaves no pixel of the clip (or the whole target) showing what was under it.
    bool HidesEverythingBelow(RenderTextureId texture, const RenderVertex* vertices, int vertexCount,
                              const int* indices, int indexCount, RenderBlend blend, bool aligned) const;

    struct TextureEntry
    {
        SDL_Texture* texture = nullptr;
        int width = 0;
        int height = 0;
        int blend = -1;
        // -1 unknown, 0 smoothed, 1 nearest.
        int nearest = -1;
        bool renderTarget = false;
        // Texels known opaque (alpha 255), found at upload: the widest band of
        // whole opaque rows and the tallest band of whole opaque columns (for
        // a panel with rounded corners, the two bars of a plus).
        RenderRect opaqueRows;
        RenderRect opaqueColumns;
    };
    // Drawings of one state, as a range of the gathered indices.
    struct Batch
    {
        RenderTextureId texture = 0;
        RenderBlend blend = RenderBlend::Normal;
        bool aligned = false;
        std::size_t firstIndex = 0;
        std::size_t indexCount = 0;
    };

    SDL_Renderer* m_renderer = nullptr;
    std::string m_name;
    std::string m_lastError;
    bool m_blendModesWork = true;
    std::unordered_map<RenderTextureId, TextureEntry> m_textures;
    RenderTextureId m_nextId = 1;
    RenderTextureId m_target = 0;
    // The clip last set, so an unchanged clip costs nothing.
    bool m_clipped = false;
    RenderRect m_clip;
    int m_untexturedBlend = -1;
    // Triangles gathered for the geometry calls still to go out.
    std::vector<RenderVertex> m_pendingVertices;
    std::vector<int> m_pendingIndices;
    std::vector<Batch> m_batches;
    long long m_geometryCalls = 0;
    enum class WindowPixels { Unknown, Kept, Lost };
    WindowPixels m_windowPixels = WindowPixels::Unknown;
    // The screen texture whose pixels live in the window's back buffer; 0 when none.
    RenderTextureId m_screenInWindow = 0;
    // The window shows the whole screen texture at this rectangle.
    bool m_windowCurrent = false;
    RenderRect m_shownAt;
    std::atomic<bool> m_targetsReset{false};
    std::atomic<bool> m_deviceReset{false};
};
