#pragma once

#include "graphics/Rect.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

class D3DInterface;
class ImageRenderTarget;
class ImageSurface;
class SdlRenderDevice;
class SdlRenderWindow;
struct SDL_Window;

// A hidden offscreen window with the GL renderer and the application-sized
// screen surface: what a test needs to draw and read real pixels back.
class GLTestContext
{
public:
    explicit GLTestContext(int width = 1024, int height = 768);
    ~GLTestContext();
    GLTestContext(const GLTestContext&) = delete;
    GLTestContext& operator=(const GLTestContext&) = delete;

    bool IsValid() const { return m_renderer != nullptr; }
    const std::string& GetError() const { return m_error; }
    SDL_Window* GetWindow() const;
    D3DInterface* GetRenderer() const { return m_renderer.get(); }
    ImageSurface* GetScreen() const;

    // Pixels of a render target as 0xAARRGGBB, premultiplied as stored.
    std::vector<std::uint32_t> ReadPixels(ImageRenderTarget* target, const Rect& area) const;
    std::uint32_t ReadPixel(ImageRenderTarget* target, int x, int y) const;

private:
    std::unique_ptr<SdlRenderWindow> m_window;
    std::unique_ptr<D3DInterface> m_renderer;
    std::string m_error;
};

// A fixture over a GLTestContext shared by the tests of a suite (a context
// takes a while to make); each test starts with a cleared screen.
class GLTest : public ::testing::Test
{
public:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

protected:
    void SetUp() override;

    D3DInterface* Renderer() const { return m_context->GetRenderer(); }
    // The SDL device under the renderer.
    SdlRenderDevice* Device() const;
    ImageSurface* Screen() const { return m_context->GetScreen(); }
    std::uint32_t ScreenPixel(int x, int y) const;
    std::uint32_t Pixel(ImageRenderTarget* target, int x, int y) const
    {
        return m_context->ReadPixel(target, x, y);
    }

    static inline std::unique_ptr<GLTestContext> m_context;
};

// Opaque colours the drawing tests paint with, as read back (0xAARRGGBB).
constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kGreen = 0xFF00FF00u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;
constexpr std::uint32_t kYellow = 0xFFFFFF00u;

// True when every channel of two packed colours differs by at most tolerance.
bool ColorsNear(std::uint32_t expected, std::uint32_t actual, int tolerance = 1);

#define EXPECT_COLOR_NEAR(expected, actual)                                                                  \
    EXPECT_PRED2([](std::uint32_t e, std::uint32_t a) { return ColorsNear(e, a); }, (expected), (actual))
