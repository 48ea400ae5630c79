#include "graphics/D3DInterface.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageSurface.h"
#include "graphics/SysFont.h"
#include "platform/headless/HeadlessRenderDevice.h"
#include "platform/headless/ManualClock.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {

// The renderer over the recording device: no pixels, only what was asked.
class RendererTest : public ::testing::Test
{
protected:
    RendererTest()
    {
        auto device = std::make_unique<HeadlessRenderDevice>(1280, 800);
        m_device = device.get();
        m_renderer = std::make_unique<D3DInterface>(std::move(device));
    }

    std::unique_ptr<Image> Solid(int width, int height)
    {
        return std::make_unique<Image>(
            ImageData{width, height,
                      std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, 0xFFFFFFFFu)});
    }

    HeadlessRenderDevice* m_device = nullptr;
    std::unique_ptr<D3DInterface> m_renderer;
};

TEST_F(RendererTest, ImagesUploadOnFirstDrawAndAgainAfterADeviceReset)
{
    auto image = Solid(4, 4);
    EXPECT_EQ(0, m_device->GetUploadCount());
    Graphics g(m_renderer->GetScreenImage());
    g.DrawImage(image.get(), 0, 0);
    g.DrawImage(image.get(), 8, 0);
    EXPECT_EQ(1, m_device->GetUploadCount());
    m_device->SimulateDeviceReset();
    m_renderer->Present();
    EXPECT_EQ(2, m_device->GetUploadCount());
}

TEST_F(RendererTest, TexturesUnloadedOnALoaderThreadAreFreedOnTheMainThread)
{
    auto image = Solid(4, 4);
    Graphics g(m_renderer->GetScreenImage());
    g.DrawImage(image.get(), 0, 0);
    int withTexture = m_device->GetTextureCount();
    std::thread loader([&] { image->Unload(); });
    loader.join();
    EXPECT_EQ(withTexture, m_device->GetTextureCount());
    m_renderer->Present();
    EXPECT_EQ(withTexture - 1, m_device->GetTextureCount());
    // Unloaded images draw nothing until they get pixels again.
    m_device->ClearDrawCalls();
    g.DrawImage(image.get(), 0, 0);
    EXPECT_TRUE(m_device->GetDrawCalls().empty());
}

TEST_F(RendererTest, TheScreenIsLetterboxedUnlessStretched)
{
    m_renderer->Present(false);
    const RenderRect& kept = m_device->GetLastPresentArea();
    EXPECT_EQ(800, kept.height);
    EXPECT_EQ(1067, kept.width);
    EXPECT_EQ(106, kept.x);
    m_renderer->Present(true);
    EXPECT_EQ(1280, m_device->GetLastPresentArea().width);
    EXPECT_EQ(0, m_device->GetLastPresentArea().x);
}

TEST_F(RendererTest, OnlyTheChangedAreasArePresentedWhenLessThanTheScreenChanged)
{
    const std::vector<Rect> changed{Rect{10, 20, 30, 40}, Rect{1000, 750, 50, 50}};
    m_renderer->Present(false, &changed);
    const std::vector<RenderRect>& shown = m_device->GetLastPresentedAreas();
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ(10, shown[0].x);
    EXPECT_EQ(40, shown[0].height);
    // Cut to the screen.
    EXPECT_EQ(24, shown[1].width);
    EXPECT_EQ(18, shown[1].height);

    const std::vector<Rect> everything{Rect{0, 0, 1024, 768}};
    m_renderer->Present(false, &everything);
    EXPECT_TRUE(m_device->GetLastPresentedAreas().empty());
    m_renderer->Present(false);
    EXPECT_TRUE(m_device->GetLastPresentedAreas().empty());
}

TEST_F(RendererTest, DrawingsCarryTheClipTranslationAndDrawMode)
{
    auto image = Solid(4, 4);
    Graphics g(m_renderer->GetScreenImage());
    g.Translate(10.5f, 20.0f);
    g.ClipRect(0, 0, 100, 50);
    g.SetDrawMode(DRAWMODE_ADDITIVE);
    m_device->ClearDrawCalls();
    g.DrawImage(image.get(), 1, 2);
    // The screen's first use clears it, then the image follows.
    ASSERT_FALSE(m_device->GetDrawCalls().empty());
    const auto& call = m_device->GetDrawCalls().back();
    EXPECT_EQ(RenderBlend::Additive, call.blend);
    ASSERT_TRUE(call.clip.has_value());
    EXPECT_EQ(11, call.clip->x);
    EXPECT_EQ(50, call.clip->height);
    EXPECT_FLOAT_EQ(11.5f, call.vertices.front().x);
    EXPECT_FLOAT_EQ(22.0f, call.vertices.front().y);
    // Everything outside the clip: nothing is sent.
    m_device->ClearDrawCalls();
    g.DrawImage(image.get(), 200, 0);
    g.ClipRect(500, 500, 10, 10);
    g.FillRect(0, 0, 1000, 1000);
    EXPECT_TRUE(m_device->GetDrawCalls().empty());
}

TEST_F(RendererTest, AFailedCallIsReportedWithItsContext)
{
    EXPECT_TRUE(m_renderer->CheckError(true, "GetDC"));
    EXPECT_EQ("", m_renderer->GetLastError());
    EXPECT_FALSE(m_renderer->CheckError(false, "GetDC"));
    EXPECT_EQ(0u, m_renderer->GetLastError().find("GetDC: "));
}

TEST_F(RendererTest, PixelsDecodedOnALoaderThreadUploadOnTheFirstDraw)
{
    Image image;
    std::thread loader([&] {
        image.SetData(ImageData{2, 2, std::vector<std::uint32_t>(4, 0xFF00FF00u)});
        image.SetGrid(1, 2);
    });
    loader.join();
    EXPECT_EQ(0, m_device->GetUploadCount());
    Graphics g(m_renderer->GetScreenImage());
    g.DrawImage(&image, 0, 0, 1);
    EXPECT_EQ(1, m_device->GetUploadCount());
    EXPECT_FLOAT_EQ(0.5f, m_device->GetDrawCalls().back().vertices.front().u);
}

TEST_F(RendererTest, NewGlyphsGoToTheDeviceByTheirRectangleAlone)
{
    SysFont font(L"Arial", 16);
    ASSERT_TRUE(font.IsValid());
    Graphics g(m_renderer->GetScreenImage());
    g.SetFont(&font);
    g.WriteString(L"a", 10, 40);
    const int uploads = m_device->GetUploadCount();
    const int textures = m_device->GetTextureCount();
    g.WriteString(L"bc", 10, 40);
    EXPECT_EQ(uploads, m_device->GetUploadCount());
    EXPECT_EQ(2, m_device->GetAreaUploadCount());
    EXPECT_EQ(textures, m_device->GetTextureCount());
    // Glyphs drawn before need nothing sent again.
    g.WriteString(L"cab", 10, 80);
    EXPECT_EQ(2, m_device->GetAreaUploadCount());
    EXPECT_EQ(uploads, m_device->GetUploadCount());
}

TEST_F(RendererTest, AnImageGivenBackWhileIdleWaitsForItsNextDrawToComeBack)
{
    ManualClock clock(100000);
    ScopedClock scoped(clock);
    auto image = Solid(4, 4);
    int decodes = 0;
    image->SetReloader([&decodes](ImageData& pixels) {
        ++decodes;
        pixels = ImageData{4, 4, std::vector<std::uint32_t>(16, 0xFFFFFFFFu)};
        return true;
    });
    Graphics g(m_renderer->GetScreenImage());
    g.DrawImage(image.get(), 0, 0);
    m_renderer->Present();
    const int withTexture = m_device->GetTextureCount();
    m_renderer->Present();
    clock.Advance(D3DInterface::kIdleImageMs + 1);
    ASSERT_EQ(1, m_renderer->ReleaseIdleImages());
    EXPECT_EQ(withTexture - 1, m_device->GetTextureCount());

    // A lost device fills the textures it has again, not this one.
    const int uploads = m_device->GetUploadCount();
    m_device->SimulateDeviceReset();
    m_renderer->Present();
    EXPECT_EQ(uploads, m_device->GetUploadCount());
    EXPECT_EQ(0, decodes);
    m_device->ClearDrawCalls();
    g.DrawImage(image.get(), 0, 0);
    EXPECT_EQ(uploads + 1, m_device->GetUploadCount());
    EXPECT_EQ(1, decodes);
    ASSERT_FALSE(m_device->GetDrawCalls().empty());
    EXPECT_NE(0u, m_device->GetDrawCalls().back().texture);
}

} // namespace
