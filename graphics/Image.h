#pragma once

#include "graphics/ImageData.h"
#include "graphics/ImageInterface.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

// A bitmap in memory and on the device, drawn by cell: rows x columns of
// equal cells, or the frames of an atlas entry when frames are set.
class Image : public ImageInterface
{
public:
    Image() = default;
    explicit Image(ImageData data);
    ~Image() override;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Replaces the pixels (any thread); the texture follows on the next draw.
    void SetData(ImageData data);
    // Main thread or while nothing else touches the image. Pixels let go
    // after the upload are decoded again first (and kept from then on).
    const ImageData& GetData() const;
    bool HasData() const;
    // How to decode the pixels again (from the image's file). With it, the
    // pixels are let go once the texture holds them, and decoded again only
    // when something reads them or the device lost its textures; both go
    // while the image is not in use (ReleaseIdle).
    using Reloader = std::function<bool(ImageData&)>;
    void SetReloader(Reloader reloader);
    // True while the pixels live only in the texture (or, let go while
    // idle, only in the file).
    bool ArePixelsReleased() const { return m_pixelsReleased; }
    // True once after any image let its pixels go (the memory can go back to the system).
    static bool TakePixelsReleased();
    // Frees the pixels and the texture (any thread); the size stays.
    void Unload();
    // Main thread: replaces a rectangle of the pixels (area.width x
    // area.height, straight alpha). A current texture gets only that
    // rectangle; the pixels no longer come from a file. False when the
    // rectangle is not inside the image.
    bool WriteArea(const Rect& area, const std::uint32_t* pixels);

    void SetGrid(int rows, int columns);
    int GetRows() const { return m_rows; }
    int GetColumns() const { return m_columns; }
    void SetFrames(std::vector<Rect> frames);
    const std::vector<Rect>& GetFrames() const { return m_frames; }

    int GetWidth() const override;
    int GetHeight() const override;
    int GetCellCount() const override;
    int GetCellWidth() const override;
    int GetCellHeight() const override;
    Rect GetCellRect(int cell) const override;
    std::uint32_t GetPixel(int x, int y, int cell = 0) const override;
    // A pixel of the whole image, ignoring cells; 0 outside it.
    std::uint32_t GetImagePixel(int x, int y) const;
    bool IsPlainBitmap() const override { return true; }
    bool GetTextureSource(TextureSource& source) override;

    // Main thread: uploads the pixels now (also after a device reset).
    virtual bool UploadTexture();
    // Main thread: gives the texture back; the pixels stay.
    virtual void ReleaseTexture();
    // Main thread: when the file can give the pixels again and nobody holds
    // them, lets the pixels and the texture go if the image was last drawn
    // before that frame, and last drawn, loaded or read before that time
    // (milliseconds of the current clock). The next draw or read decodes it
    // again. True when something went.
    bool ReleaseIdle(std::uint64_t usedBeforeFrame, std::uint64_t usedBeforeMs);
    // The same for every image with a reloader; returns how many let something go.
    static int ReleaseIdleImages(std::uint64_t usedBeforeFrame, std::uint64_t usedBeforeMs);
    RenderTextureId GetTexture() const { return m_texture; }

protected:
    // The pixel of the whole image; x and y are inside it.
    virtual std::uint32_t ReadPixel(int x, int y) const;
    void SetTexture(RenderTextureId texture, int width, int height);
    void SetSize(int width, int height);

private:
    // With m_dataLock held: decodes released pixels again; false when that failed.
    bool RestorePixels() const;

    mutable ImageData m_data;
    Reloader m_reloader;
    mutable std::atomic<bool> m_pixelsReleased{false};
    // Someone holds the pixels (GetData): they stay from then on.
    mutable bool m_keepPixels = false;
    // Something read single pixels (hit tests): they stay while the image is in use.
    mutable bool m_pixelsRead = false;
    // Decoding again failed once: not tried again until new pixels come.
    mutable bool m_reloadFailed = false;
    // Loader threads give new pixels and cells while the main thread draws.
    std::atomic<int> m_width{0};
    std::atomic<int> m_height{0};
    std::atomic<int> m_rows{1};
    std::atomic<int> m_columns{1};
    std::vector<Rect> m_frames;
    RenderTextureId m_texture = 0;
    int m_textureWidth = 0;
    int m_textureHeight = 0;
    std::atomic<bool> m_textureCurrent{false};
    // The renderer's frame when the texture was last drawn from (0: never), and the
    // clock when the image was last drawn, given pixels or read.
    std::uint64_t m_drawnFrame = 0;
    mutable std::atomic<std::uint64_t> m_usedMs{0};
    bool m_registered = false;
    // Loader threads replace the pixels while the main thread may read them.
    mutable std::mutex m_dataLock;
};
