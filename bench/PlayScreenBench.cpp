// Drawing the play screen's board and HUD each frame: a 15-cell board from
// the game's data and a synthetic 25-cell one, with every tile revealed (one
// cell animation each), the clue numbers, the line highlight and both meters,
// into the 1024 x 768 screen target through Graphics. Set the milliseconds
// per frame beside bench_GraphicsBench's raw quad figures (goal: 4 ms of CPU
// per frame under llvmpipe). CPU time is the whole process's: llvmpipe
// rasterises on threads of its own. The "Pointer" case is the frame the
// game draws while the pointer crosses the board: one highlight change, the
// changed areas drawn again and the screen shown.
#include "app/VelkAppBase.h"
#include "graphics/D3DInterface.h"
#include "graphics/FontTable.h"
#include "graphics/Graphics.h"
#include "graphics/ImageLoader.h"
#include "graphics/ImageSurface.h"
#include "platform/sdl/SdlRenderDevice.h"
#include "platform/sdl/SdlRenderWindow.h"
#include "puzzle/GameData.h"
#include "puzzle/HintMeter.h"
#include "puzzle/MistakeMeter.h"
#include "puzzle/PlayTileGrid.h"
#include "puzzle/PuzzleTable.h"
#include "resources/Assets.h"
#include "resources/Constants.h"
#include "ui/AnimationStats.h"
#include "ui/FlagsMod.h"
#include "ui/ModalFlags.h"
#include "ui/WidgetManager.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

class Scene
{
public:
    Scene()
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        std::filesystem::current_path(TARNVALE_GAME_DATA_DIR);
        m_window = std::make_unique<SdlRenderWindow>(1024, 768);
        if (!m_window->IsValid())
            return;
        auto device = m_window->TakeDevice();
        m_sdlRenderer = device->GetRenderer();
        m_renderer = std::make_unique<D3DInterface>(std::move(device));
        m_app = std::make_unique<VelkAppBase>(L"bench", 1024, 768);
        std::filesystem::current_path(TARNVALE_GAME_DATA_DIR);
        InstallImageLoaders(Assets::Get());
        Assets::Get().FirstPass();
        Assets::Get().FullPass();
        LoadFonts();
        Constants constants;
        constants.Load();
        AnimationStats animations(false);
        LoadGameTables("properties/", {});
    }

    ~Scene()
    {
        if (m_root)
            m_app->GetWidgetManager()->RemoveWidget(m_root);
        m_app.reset();
        ClearGameTables();
        m_renderer.reset();
    }

    bool IsValid() const { return m_renderer != nullptr; }

    // The board with every tile revealed and its numbers shown, and the HUD.
    void Build(const std::vector<std::vector<int>>& tiles)
    {
        WidgetManager& manager = *m_app->GetWidgetManager();
        if (m_root)
            manager.RemoveWidget(m_root);
        m_root = new Widget();
        m_root->Resize(0, 0, 1024, 768);
        manager.AddWidget(m_root);
        const int n = static_cast<int>(tiles.size());
        m_grid = new PlayTileGrid(tiles, [](int bound) { return bound - 1; });
        m_root->AddWidget(m_grid);
        m_root->AddWidget(
            new HintMeter(GetConstantInt(L"hint_meter_x"), GetConstantInt(L"hint_meter_y"), 240, 120, n, 2));
        m_root->AddWidget(new MistakeMeter(GetConstantInt(L"mistake_meter_x"),
                                           GetConstantInt(L"mistake_meter_y"), 240, 200, n));
        m_grid->ShowNumbers();
        m_grid->SetDisabled(false);
        for (int row = 0; row < n; ++row) {
            const int cell = m_grid->GetCellSize();
            m_grid->MouseDown(1, row * cell + 1, 1);
            m_grid->MouseUp(n * cell - 1, row * cell + 1);
        }
        for (int tick = 0; tick < 300; ++tick)
            manager.UpdateFrame();
        m_grid->MouseEnter();
        m_grid->MouseMove(n / 2 * m_grid->GetCellSize() + 1, n / 2 * m_grid->GetCellSize() + 1);
    }

    void Draw()
    {
        Graphics g(m_renderer->GetScreenImage());
        g.SetColor(Color(40, 50, 60, 255));
        g.FillRect(0, 0, 1024, 768);
        ModalFlags flags;
        flags.overFlags = WidgetFlags::Default;
        flags.underFlags = WidgetFlags::Default;
        m_root->DrawAll(&flags, &g);
        g.FlushBatch();
        std::uint32_t pixel = 0;
        SDL_Rect one{0, 0, 1, 1};
        SDL_RenderReadPixels(m_sdlRenderer, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
        benchmark::DoNotOptimize(pixel);
    }

    // The frame loop's path: the pointer one cell further, what changed drawn, the screen shown.
    void PointerFrame(int step)
    {
        WidgetManager& manager = *m_app->GetWidgetManager();
        if (manager.GetScreenImage() != m_renderer->GetScreenImage()) {
            manager.SetScreenImage(m_renderer->GetScreenImage());
            manager.SetDirty();
            manager.DrawScreen();
        }
        const int n = m_grid->GridSize();
        const int cell = m_grid->GetCellSize();
        const int column = step % n;
        const int row = (step / n) % n;
        m_grid->MouseMove(column * cell + cell / 2, row * cell + cell / 2);
        for (int tick = 0; tick < 2; ++tick)
            manager.UpdateFrame();
        manager.DrawScreen();
        m_renderer->Present();
        std::uint32_t pixel = 0;
        SDL_Rect one{0, 0, 1, 1};
        SDL_RenderReadPixels(m_sdlRenderer, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
        benchmark::DoNotOptimize(pixel);
    }

private:
    std::unique_ptr<SdlRenderWindow> m_window;
    std::unique_ptr<D3DInterface> m_renderer;
    std::unique_ptr<VelkAppBase> m_app;
    SDL_Renderer* m_sdlRenderer = nullptr;
    Widget* m_root = nullptr;
    PlayTileGrid* m_grid = nullptr;
};

Scene& GetScene()
{
    static Scene scene;
    return scene;
}

void DrawBoard(benchmark::State& state, const std::vector<std::vector<int>>& tiles)
{
    Scene& scene = GetScene();
    if (!scene.IsValid()) {
        state.SkipWithError("no renderer");
        return;
    }
    scene.Build(tiles);
    for (auto _ : state)
        scene.Draw();
}

const PuzzleRecord* Find15(benchmark::State& state)
{
    GetScene(); // loads the data
    const PuzzleRecord* record = gPuzzleTable.Find(0, 2, 2);
    if (!record || record->GridSize() != 15) {
        state.SkipWithError("no 15-cell puzzle in the data");
        return nullptr;
    }
    return record;
}

void BM_PlayScreen15(benchmark::State& state)
{
    if (const PuzzleRecord* record = Find15(state))
        DrawBoard(state, record->tiles);
}
BENCHMARK(BM_PlayScreen15)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_PlayScreen15Pointer(benchmark::State& state)
{
    const PuzzleRecord* record = Find15(state);
    Scene& scene = GetScene();
    if (record == nullptr || !scene.IsValid()) {
        if (record != nullptr)
            state.SkipWithError("no renderer");
        return;
    }
    scene.Build(record->tiles);
    int step = 0;
    for (auto _ : state)
        scene.PointerFrame(step++);
}
BENCHMARK(BM_PlayScreen15Pointer)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// A 25-cell board of alternating runs: many clue numbers and tiles.
void BM_PlayScreen25(benchmark::State& state)
{
    std::vector<std::vector<int>> tiles(25, std::vector<int>(25, 0));
    for (int column = 0; column < 25; ++column)
        for (int row = 0; row < 25; ++row)
            tiles[column][row] = ((column + row) % 3 != 0 || (column * row) % 7 == 1) ? 1 : 0;
    DrawBoard(state, tiles);
}
BENCHMARK(BM_PlayScreen25)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace

BENCHMARK_MAIN();
