// Start-up loading against its budget: everything the loading thread loads
// from the built data folder (the assets: images and sounds; the fonts; the
// constants) and the game's tables, in 0.5 s at most. Also the tables alone
// against a bare expat pass over the same files, and saving a full
// profiles.xml (written, flushed to disk and renamed).
#include "app/GameApp.h"
#include "audio/SoundManager.h"
#include "graphics/D3DInterface.h"
#include "platform/headless/HeadlessClipboard.h"
#include "platform/headless/HeadlessCursor.h"
#include "platform/headless/HeadlessRenderDevice.h"
#include "platform/headless/HeadlessWindow.h"
#include "puzzle/GameData.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/PuzzleTable.h"
#include "resources/Assets.h"
#include "resources/Localization.h"

#include <benchmark/benchmark.h>
#include <expat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

const std::string kProperties = std::string(TARNVALE_SOURCE_DIR) + "/data/properties/";

fs::path ProfileFolder()
{
    static const fs::path folder = [] {
        fs::path path = fs::temp_directory_path() / ("databench-" + std::to_string(::getpid()));
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

// Eight named profiles with every puzzle solved.
void MakeFullProfiles()
{
    ProfileEnvironment environment;
    environment.dataFolder = ProfileFolder().string() + "/";
    ProfileManager::SetEnvironment(environment);
    ClearGameTables();
    LoadGameTables(kProperties);
    for (int slot = 0; slot < ProfileList::kSlots; ++slot) {
        ProfileManager::CreateProfile(L"Player " + std::to_wstring(slot));
        PlayerState& state = gProfileList.records[slot].state;
        for (auto& sets : state.progress)
            for (SetProgress& set : sets) {
                set.unlock = static_cast<int>(set.puzzles.size());
                for (PuzzleProgress& puzzle : set.puzzles)
                    puzzle = {true, 123, true, false, {}};
            }
        state.properties[L"seen_intro"] = Value(true);
    }
    SaveProfiles();
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

constexpr double kLoadingBudgetSeconds = 0.5;

// One start of the application on the headless window and render device
// (images are decoded and kept as textures in memory; with a GPU the upload
// comes on top) with sound on, in the game's data folder: Init, then the
// loading thread from its start to its end, then the game's tables, which
// the game's own loading steps add to the thread.
double StartUpLoadingSeconds(int& soundsLoaded)
{
    auto app = std::make_unique<GameApp>(L"Tarnvale 6", L"v1.2", 1024, 768);
    AppPlatform platform;
    platform.window = std::make_unique<HeadlessWindow>();
    platform.cursor = std::make_unique<HeadlessCursor>();
    platform.clipboard = std::make_unique<HeadlessClipboard>();
    platform.createRenderer = [](Window&) {
        return std::make_unique<D3DInterface>(std::make_unique<HeadlessRenderDevice>(1024, 768), 1024, 768);
    };
    app->SetPlatform(std::move(platform));
    if (!app->Init({"tarnvale6"}))
        return -1.0;
    auto start = std::chrono::steady_clock::now();
    app->BeginMainLoop();
    while (app->GetLoadingProgress() < 1.0)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    ClearGameTables();
    ClearLocalization();
    LoadGameTables("properties/");
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    soundsLoaded = app->GetSoundManager() ? app->GetSoundManager()->GetNumSounds() : 0;
    app->Shutdown();
    app->EndMainLoop();
    app.reset();
    Assets::Get().Clear();
    return seconds;
}

void StartUpLoading(benchmark::State& state)
{
    // The game's data folder as the program runs in it, its saves aside, and
    // a sound device, so sounds are decoded as on a machine with sound.
    fs::path saves = ProfileFolder() / "startup";
    fs::create_directories(saves);
    setenv("TARNVALE_DATA_DIR", (saves.string() + "/").c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    fs::path previous = fs::current_path();
    fs::current_path(TARNVALE_GAME_DATA_DIR);
    double total = 0.0;
    double worst = 0.0;
    int sounds = 0;
    for (auto _ : state) {
        double seconds = StartUpLoadingSeconds(sounds);
        if (seconds < 0.0) {
            state.SkipWithError("the application did not start on the game data");
            break;
        }
        state.SetIterationTime(seconds);
        total += seconds;
        worst = std::max(worst, seconds);
    }
    fs::current_path(previous);
    double mean = state.iterations() > 0 ? total / static_cast<double>(state.iterations()) : 0.0;
    state.counters["budget_share"] = mean / kLoadingBudgetSeconds;
    state.counters["worst_share"] = worst / kLoadingBudgetSeconds;
    state.counters["sounds"] = sounds;
}
BENCHMARK(StartUpLoading)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

void LoadTables(benchmark::State& state)
{
    MakeFullProfiles();
    for (auto _ : state) {
        ClearGameTables();
        ClearLocalization();
        LoadGameTables(kProperties);
        benchmark::DoNotOptimize(gPuzzleTable.SetCount(0));
    }
}
BENCHMARK(LoadTables)->Unit(benchmark::kMicrosecond);

void BareExpatPass(benchmark::State& state)
{
    MakeFullProfiles();
    std::vector<std::string> files;
    for (const char* name : {"puzzles.xml", "game.xml", "sets.xml", "localization.xml"})
        files.push_back(ReadBytes(kProperties + name));
    files.push_back(ReadBytes(GetProfilesPath()));
    for (auto _ : state) {
        for (const std::string& bytes : files) {
            XML_Parser parser = XML_ParserCreate(nullptr);
            benchmark::DoNotOptimize(
                XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), XML_TRUE));
            XML_ParserFree(parser);
        }
    }
}
BENCHMARK(BareExpatPass)->Unit(benchmark::kMicrosecond);

void SaveFullProfiles(benchmark::State& state)
{
    MakeFullProfiles();
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveProfiles());
    fs::remove_all(ProfileFolder());
}
BENCHMARK(SaveFullProfiles)->Iterations(1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
