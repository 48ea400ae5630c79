// Loading the game's tables against a bare expat pass over the same files,
// and saving a full profiles.xml (written, flushed to disk and renamed).
#include "puzzle/GameData.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/PuzzleTable.h"
#include "resources/Localization.h"

#include <benchmark/benchmark.h>
#include <expat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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
