// 2,000 rotated, colour-modulated 32x32 quads into the 1024 x 768 screen
// target, through Graphics and through raw SDL_RenderGeometry. The "ratio"
// counter of BM_GraphicsAgainstRawGeometry is Graphics time / raw time.
// Both paths sample their texture linearly, as Graphics does for every
// image: under llvmpipe the rasterising dominates, so a raw path with the
// default nearest sampling would measure the filter, not Graphics.
#include "graphics/D3DInterface.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageSurface.h"
#include "graphics/Transform2D.h"
#include "platform/sdl/SdlRenderDevice.h"
#include "platform/sdl/SdlRenderWindow.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>

namespace {

constexpr int kQuads = 2000;

struct Quad
{
    float x;
    float y;
    float angle;
    Color color;
};

class Scene
{
public:
    Scene()
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        m_window = std::make_unique<SdlRenderWindow>(1024, 768);
        if (!m_window->IsValid())
            return;
        auto device = m_window->TakeDevice();
        m_sdlRenderer = device->GetRenderer();
        m_renderer = std::make_unique<D3DInterface>(std::move(device));
        ImageData pixels{32, 32, {}};
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x)
                pixels.pixels.push_back(((x / 8 + y / 8) % 2) ? 0xFFFFFFFFu : 0xC0808080u);
        }
        m_rawTexture =
            SDL_CreateTexture(m_sdlRenderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, 32, 32);
        SDL_UpdateTexture(m_rawTexture, nullptr, pixels.pixels.data(), 32 * 4);
        SDL_SetTextureBlendMode(m_rawTexture, SDL_BLENDMODE_BLEND);
        SDL_SetTextureScaleMode(m_rawTexture, SDL_ScaleModeLinear);
        m_image = std::make_unique<Image>(std::move(pixels));
        for (int i = 0; i < kQuads; ++i) {
            m_quads.push_back(Quad{static_cast<float>((i * 37) % 1000) + 12.0f,
                                   static_cast<float>((i * 91) % 740) + 14.0f, static_cast<float>(i % 360),
                                   Color(i % 256, (i * 3) % 256, (i * 7) % 256, 255)});
        }
    }

    ~Scene()
    {
        if (m_rawTexture != nullptr)
            SDL_DestroyTexture(m_rawTexture);
        m_image.reset();
        m_renderer.reset();
    }

    bool IsValid() const { return m_renderer != nullptr; }

    void DrawWithGraphics()
    {
        Graphics g(m_renderer->GetScreenImage());
        g.SetColorizeImages(true);
        Transform2D transform;
        for (const Quad& quad : m_quads) {
            transform.Reset();
            transform.Rotate(quad.angle);
            g.SetColor(quad.color);
            g.DrawImageMatrixCentered(m_image.get(), transform, 0, quad.x, quad.y);
        }
        Finish();
    }

    void DrawRaw()
    {
        // The screen surface stays the render target after Graphics drew into it.
        static const int indices[6] = {0, 1, 2, 0, 2, 3};
        static const float corners[4][2] = {{-16, -16}, {16, -16}, {16, 16}, {-16, 16}};
        static const float uvs[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        SDL_Vertex vertices[4];
        for (const Quad& quad : m_quads) {
            float radians = quad.angle * std::numbers::pi_v<float> / 180.0f;
            float c = std::cos(radians);
            float s = std::sin(radians);
            for (int i = 0; i < 4; ++i) {
                vertices[i].position.x = quad.x + corners[i][0] * c - corners[i][1] * s;
                vertices[i].position.y = quad.y + corners[i][0] * s + corners[i][1] * c;
                vertices[i].color =
                    SDL_Color{static_cast<Uint8>(quad.color.red), static_cast<Uint8>(quad.color.green),
                              static_cast<Uint8>(quad.color.blue), 255};
                vertices[i].tex_coord.x = uvs[i][0];
                vertices[i].tex_coord.y = uvs[i][1];
            }
            SDL_RenderGeometry(m_sdlRenderer, m_rawTexture, vertices, 4, indices, 6);
        }
        Finish();
    }

private:
    // Waits for the GPU: a read-back cannot finish before the drawing.
    void Finish()
    {
        std::uint32_t pixel = 0;
        SDL_Rect one{0, 0, 1, 1};
        SDL_RenderReadPixels(m_sdlRenderer, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
        benchmark::DoNotOptimize(pixel);
    }

    std::unique_ptr<SdlRenderWindow> m_window;
    std::unique_ptr<D3DInterface> m_renderer;
    SDL_Renderer* m_sdlRenderer = nullptr;
    SDL_Texture* m_rawTexture = nullptr;
    std::unique_ptr<Image> m_image;
    std::vector<Quad> m_quads;
};

Scene& GetScene()
{
    static Scene scene;
    return scene;
}

void BM_GraphicsQuads(benchmark::State& state)
{
    Scene& scene = GetScene();
    if (!scene.IsValid()) {
        state.SkipWithError("no renderer");
        return;
    }
    for (auto _ : state)
        scene.DrawWithGraphics();
    state.SetItemsProcessed(state.iterations() * kQuads);
}
BENCHMARK(BM_GraphicsQuads)->Unit(benchmark::kMillisecond);

void BM_RawGeometryQuads(benchmark::State& state)
{
    Scene& scene = GetScene();
    if (!scene.IsValid()) {
        state.SkipWithError("no renderer");
        return;
    }
    scene.DrawWithGraphics(); // makes the screen surface the render target
    for (auto _ : state)
        scene.DrawRaw();
    state.SetItemsProcessed(state.iterations() * kQuads);
}
BENCHMARK(BM_RawGeometryQuads)->Unit(benchmark::kMillisecond);

// Both paths alternately in one run; the ratio is the figure to watch (goal <= 1.15).
void BM_GraphicsAgainstRawGeometry(benchmark::State& state)
{
    Scene& scene = GetScene();
    if (!scene.IsValid()) {
        state.SkipWithError("no renderer");
        return;
    }
    using Clock = std::chrono::steady_clock;
    double graphicsSeconds = 0.0;
    double rawSeconds = 0.0;
    for (auto _ : state) {
        auto start = Clock::now();
        scene.DrawWithGraphics();
        auto middle = Clock::now();
        scene.DrawRaw();
        auto end = Clock::now();
        graphicsSeconds += std::chrono::duration<double>(middle - start).count();
        rawSeconds += std::chrono::duration<double>(end - middle).count();
    }
    double iterations = static_cast<double>(state.iterations());
    state.counters["graphics_ms"] = graphicsSeconds * 1000.0 / iterations;
    state.counters["raw_ms"] = rawSeconds * 1000.0 / iterations;
    state.counters["ratio"] = rawSeconds > 0.0 ? graphicsSeconds / rawSeconds : 0.0;
}
BENCHMARK(BM_GraphicsAgainstRawGeometry)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
