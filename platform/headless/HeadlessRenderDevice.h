#pragma once

#include "base/ScreenSize.h"
#include "platform/RenderDevice.h"

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

// A renderer without a device: textures are kept in memory, drawings are
// recorded (not rasterised), and reads give back zeros.
class HeadlessRenderDevice : public RenderDevice
{
public:
    struct DrawCall
    {
        RenderTextureId target = 0;
        RenderTextureId texture = 0;
        RenderBlend blend = RenderBlend::Normal;
        std::optional<RenderRect> clip;
        // Triangle corners in drawing order (indices resolved).
        std::vector<RenderVertex> vertices;
    };

    explicit HeadlessRenderDevice(int outputWidth = kScreenWidth, int outputHeight = kScreenHeight);

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
    void PresentAreas(RenderTextureId screen, const RenderRect& destination,
                      const std::vector<RenderRect>& areas) override;
    void GetOutputSize(int& width, int& height) const override;
    bool TakeDeviceReset() override;
    bool SupportsBlendModes() const override { return true; }
    std::string GetName() const override { return "headless"; }
    std::string GetLastError() const override { return {}; }

    const std::vector<DrawCall>& GetDrawCalls() const { return m_drawCalls; }
    void ClearDrawCalls() { m_drawCalls.clear(); }
    int GetPresentCount() const { return m_presents; }
    const RenderRect& GetLastPresentArea() const { return m_lastPresentArea; }
    // The areas of the last present; empty when it showed the whole screen.
    const std::vector<RenderRect>& GetLastPresentedAreas() const { return m_lastPresentedAreas; }
    int GetTextureCount() const { return static_cast<int>(m_textures.size()); }
    int GetUploadCount() const { return m_uploads; }
    int GetAreaUploadCount() const { return m_areaUploads; }
    // Makes the next TakeDeviceReset report a lost device.
    void SimulateDeviceReset() { m_reset = true; }

private:
    struct Texture
    {
        int width = 0;
        int height = 0;
        bool renderTarget = false;
        std::vector<std::uint32_t> texels;
    };

    int m_outputWidth = kScreenWidth;
    int m_outputHeight = kScreenHeight;
    std::map<RenderTextureId, Texture> m_textures;
    RenderTextureId m_nextId = 1;
    RenderTextureId m_target = 0;
    std::optional<RenderRect> m_clip;
    std::vector<DrawCall> m_drawCalls;
    int m_presents = 0;
    std::vector<RenderRect> m_lastPresentedAreas;
    RenderRect m_lastPresentArea;
    int m_uploads = 0;
    int m_areaUploads = 0;
    bool m_reset = false;
};
