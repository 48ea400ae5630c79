#pragma once

#include "base/ScreenSize.h"
#include "graphics/Matrix4.h"
#include "graphics/Rect.h"
#include "platform/RenderDevice.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

class Image;
class ImageSurface;

// The renderer: owns the device, the screen surface, the view-projection
// under which z = 0 maps 1:1 onto the application area with y down, device
// loss handling and the pool of temporary surfaces.
class D3DInterface
{
public:
    D3DInterface(std::unique_ptr<RenderDevice> device, int width = kScreenWidth, int height = kScreenHeight);
    ~D3DInterface();
    D3DInterface(const D3DInterface&) = delete;
    D3DInterface& operator=(const D3DInterface&) = delete;

    // The renderer images upload through; null when none exists.
    static D3DInterface* GetCurrent();

    RenderDevice* GetDevice() const { return m_device.get(); }
    // The application-sized surface the screen is drawn into.
    ImageSurface* GetScreenImage() const { return m_screen.get(); }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // The size of the window's drawing area.
    int GetDisplayWidth() const;
    int GetDisplayHeight() const;

    // Perspective-free at z = 0: pixels map to -1..1 with y down.
    const Matrix4& GetViewProjection() const { return m_viewProjection; }
    // The same for a render target of another size.
    static Matrix4 MakeViewProjection(int width, int height);

    // A new image (owned by the caller) holding the current screen.
    ImageSurface* CaptureScreenImage();
    // Shows the screen surface in the window: letterboxed, or stretched.
    // With areas, only those changed since the last present (see
    // RenderDevice::PresentAreas).
    void Present(bool stretch = false, const std::vector<Rect>* areas = nullptr);
    // Re-uploads every texture after the device lost them (also checked by Present).
    void CheckDeviceReset();
    // The number of the frame being drawn: Present starts the next one.
    std::uint64_t GetFrame() const { return m_frame; }
    // Main thread, called often (it looks at most every few hundred ms):
    // lets the pixels and textures of images from files go when the last
    // frame drawing the whole screen did not draw them, nor any frame since,
    // and nothing drew, loaded or read them for kIdleImageMs (see
    // Image::ReleaseIdle). Returns how many images let something go.
    int ReleaseIdleImages();
    static constexpr std::uint64_t kIdleImageMs = 3000;

    // Reports a failed call as "context: error text"; returns succeeded.
    bool CheckError(bool succeeded, const std::string& context);
    const std::string& GetLastError() const { return m_lastError; }

    // Destroys a texture now on the main thread, else at the next Present.
    void DestroyTexture(RenderTextureId texture);
    bool IsMainThread() const { return std::this_thread::get_id() == m_mainThread; }

    // Images with textures register so a device reset can re-upload them.
    void RegisterImage(Image* image);
    void UnregisterImage(Image* image);

    // Pool of cleared temporary surfaces (main thread).
    ImageSurface* GetTempSurface(int width, int height);
    void ReleaseTempSurface(ImageSurface* surface);

    std::mutex& GetLock() { return m_lock; }

    // Makes the area of the screen surface black, as a window shows what is
    // not drawn (transparent for a screen that does not clear opaque).
    void ClearScreenArea(const Rect& area);
    // True once after the screen surface lost its pixels (device reset).
    bool TakeScreenLost();

private:
    std::unique_ptr<RenderDevice> m_device;
    int m_width = kScreenWidth;
    int m_height = kScreenHeight;
    Matrix4 m_viewProjection;
    std::unique_ptr<ImageSurface> m_screen;
    bool m_screenLost = false;
    std::string m_lastError;
    std::mutex m_lock;
    std::set<Image*> m_images;
    std::uint64_t m_frame = 1;
    // The last frame that drew the whole screen: what it did not draw is not shown.
    std::uint64_t m_wholeFrame = 0;
    std::uint64_t m_nextIdleCheckMs = 0;
    std::vector<RenderTextureId> m_texturesToDestroy;
    std::thread::id m_mainThread = std::this_thread::get_id();
    std::mutex m_poolLock;
    std::vector<std::unique_ptr<ImageSurface>> m_freeSurfaces;
    std::vector<std::unique_ptr<ImageSurface>> m_usedSurfaces;
};
