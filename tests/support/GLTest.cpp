#include "support/GLTest.h"

#include "graphics/D3DInterface.h"
#include "graphics/ImageSurface.h"
#include "platform/sdl/SdlRenderDevice.h"
#include "platform/sdl/SdlRenderWindow.h"

#include <cstdlib>

GLTestContext::GLTestContext(int width, int height)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    m_window = std::make_unique<SdlRenderWindow>(width, height);
    if (!m_window->IsValid()) {
        m_error = m_window->GetError();
        return;
    }
    m_renderer = std::make_unique<D3DInterface>(m_window->TakeDevice(), width, height);
    // Drawing tests read the alpha of what they draw: their screen starts
    // transparent rather than black as a window shows it.
    m_renderer->GetScreenImage()->SetClearsOpaque(false);
    m_renderer->GetScreenImage()->Clear();
}

GLTestContext::~GLTestContext()
{
    m_renderer.reset();
    m_window.reset();
}

SDL_Window* GLTestContext::GetWindow() const
{
    return m_window ? m_window->GetWindow() : nullptr;
}

ImageSurface* GLTestContext::GetScreen() const
{
    return m_renderer ? m_renderer->GetScreenImage() : nullptr;
}

std::vector<std::uint32_t> GLTestContext::ReadPixels(ImageRenderTarget* target, const Rect& area) const
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(area.width) * area.height, 0u);
    if (!m_renderer || target == nullptr || pixels.empty())
        return pixels;
    RenderDevice* device = m_renderer->GetDevice();
    RenderTextureId texture = target->GetRenderTexture();
    if (texture == 0 || !device->SetRenderTarget(texture))
        return pixels;
    device->ReadPixels(RenderRect{area.x, area.y, area.width, area.height}, pixels.data());
    return pixels;
}

std::uint32_t GLTestContext::ReadPixel(ImageRenderTarget* target, int x, int y) const
{
    return ReadPixels(target, Rect{x, y, 1, 1}).front();
}

void GLTest::SetUpTestSuite()
{
    m_context = std::make_unique<GLTestContext>();
}

void GLTest::TearDownTestSuite()
{
    m_context.reset();
}

void GLTest::SetUp()
{
    ASSERT_TRUE(m_context && m_context->IsValid()) << (m_context ? m_context->GetError() : std::string());
    // The reference pixels are the GL renderer's.
    if (!Renderer()->GetDevice()->SupportsBlendModes())
        GTEST_SKIP() << "pixel references do not hold for the " << Renderer()->GetDevice()->GetName()
                     << " renderer";
    Screen()->Clear();
}

SdlRenderDevice* GLTest::Device() const
{
    return dynamic_cast<SdlRenderDevice*>(Renderer()->GetDevice());
}

std::uint32_t GLTest::ScreenPixel(int x, int y) const
{
    return m_context->ReadPixel(Screen(), x, y);
}

bool ColorsNear(std::uint32_t expected, std::uint32_t actual, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8) {
        int e = static_cast<int>((expected >> shift) & 0xFF);
        int a = static_cast<int>((actual >> shift) & 0xFF);
        if (e - a > tolerance || a - e > tolerance)
            return false;
    }
    return true;
}
