// The object commands' two costs, for a script that adds 1,000 objects and
// sets each one moving (a tween of its position and a swing of its angle):
// running the adds, and a tick of the 1,000 tweens afterwards. The tick is
// 10 ms; both should stay well under one.
#include "resources/PakInterface.h"
#include "ui/AnimationStats.h"
#include "ui/AnimationWidget.h"
#include "ui/WidgetManager.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* kCrowdScripts = R"(<animations>
  <animation name="crowd">
    <define i="0"/>
    <loop count="1000">
      <add id="'o' + i" image="dot" x="i % 40 * 20" y="i / 40 * 20" depth="i % 3"/>
      <change id="'o' + i" property="x,y" offset="100,50" time="100000" curve="in_out_quad"/>
      <oscillate id="'o' + i" property="angle" amplitude="10"/>
      <define i="i + 1"/>
    </loop>
    <wait/>
  </animation>
</animations>)";

// The scripts in a temporary folder searched by the pak layer, loaded.
class ScriptFolder
{
public:
    ScriptFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarnvale-bench-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
        std::filesystem::create_directories(m_path / "properties");
        m_pak.AddSearchRoot(m_path.string());
        SetPakInterface(&m_pak);
        std::ofstream(m_path / "properties" / "animations.xml") << kCrowdScripts;
        AnimationStats loading(false);
    }
    ~ScriptFolder()
    {
        SetPakInterface(nullptr);
        std::filesystem::remove_all(m_path);
    }

private:
    std::filesystem::path m_path;
    PakInterface m_pak;
};

// Without an application nothing deletes removed widgets: the bench does.
void DeleteCrowd(WidgetManager& manager, AnimationWidget* crowd)
{
    std::vector<Widget*> objects(crowd->GetChildren().begin(), crowd->GetChildren().end());
    manager.RemoveAllWidgets(false, true);
    for (Widget* object : objects)
        delete object;
    delete crowd;
}

// Running the script: 1,000 adds with their tween and swing.
void AddThousandObjects(benchmark::State& state)
{
    ScriptFolder folder;
    for (auto _ : state) {
        state.PauseTiming();
        auto manager = std::make_unique<WidgetManager>(nullptr);
        auto* crowd = new AnimationWidget(L"crowd", 0, 0, false);
        state.ResumeTiming();
        manager->AddWidget(crowd);
        state.PauseTiming();
        DeleteCrowd(*manager, crowd);
        manager.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(AddThousandObjects)->Unit(benchmark::kMillisecond);

// One tick of the crowd while all of it moves.
void TickThousandTweens(benchmark::State& state)
{
    ScriptFolder folder;
    WidgetManager manager(nullptr);
    auto* crowd = new AnimationWidget(L"crowd", 0, 0, false);
    manager.AddWidget(crowd);
    for (auto _ : state)
        manager.UpdateFrameF(1.0f);
    state.SetItemsProcessed(state.iterations() * 1000);
    DeleteCrowd(manager, crowd);
}
BENCHMARK(TickThousandTweens)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
