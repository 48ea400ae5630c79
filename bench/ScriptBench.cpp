// The script engine's two costs.
// A tick of 500 scripted widgets, each moving (a tween and an oscillation of
// its own) while its script waits for its object's tween, pauses, counts and
// signals in an endless loop. The tick is 10 ms; this should stay well under
// 1 ms of it.
// Loading a 1 MB animations file into the animation table, against a bare
// expat pass over the same bytes. Goal: at least 0.5 of expat's throughput.
#include "resources/PakInterface.h"
#include "ui/AnimationStats.h"
#include "ui/AnimationWidget.h"
#include "ui/Oscillation.h"
#include "ui/WidgetManager.h"

#include <benchmark/benchmark.h>
#include <expat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* kTickScripts = R"(<animations>
  <animation name="bob">
    <define beats="0"/>
    <loop>
      <wait/>
      <pause time="25"/>
      <define beats="beats + 1"/>
      <if cond="beats % 4 == 0"><signal message="beat"/></if>
    </loop>
  </animation>
</animations>)";

// About 1 MB shaped like the game's scripts: commands with expression
// attributes, conditions and nested blocks.
const std::string& ScriptsDocument()
{
    static const std::string document = [] {
        std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<animations>\n";
        for (int i = 0; text.size() < (1u << 20); ++i) {
            std::string n = std::to_string(i);
            text += "  <animation name=\"menu_" + n + "\">\n";
            text += "    <add id=\"button_" + n + "\" image=\"button_play\" x=\"512 + " + n +
                    "\" y=\"300\" depth=\"5\" if=\"global(level) &gt; 2\"/>\n";
            text +=
                "    <change id=\"button_" + n + "\" x=\"100\" y=\"200\" time=\"50\" curve=\"out_quad\"/>\n";
            text += "    <loop count=\"3\">\n      <set id=\"button_" + n +
                    "\" opacity=\"0.5\"/>\n      <pause time=\"t * 2 + 1\"/>\n    </loop>\n";
            text += "    <signal message=\"shown\" unless=\"quiet\"/>\n";
            text += "  </animation>\n";
        }
        return text + "</animations>\n";
    }();
    return document;
}

// A folder with properties/ holding the given files, searched by the pak layer.
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
    }
    ~ScriptFolder()
    {
        SetPakInterface(nullptr);
        std::filesystem::remove_all(m_path);
    }
    void Write(const std::string& file, const std::string& text)
    {
        std::ofstream(m_path / "properties" / file, std::ios::binary) << text;
    }

private:
    std::filesystem::path m_path;
    PakInterface m_pak;
};

void ScriptedWidgetsTick(benchmark::State& state)
{
    ScriptFolder folder;
    folder.Write("animations.xml", kTickScripts);
    AnimationStats loading(false);

    const int count = static_cast<int>(state.range(0));
    WidgetManager manager(nullptr);
    std::vector<std::unique_ptr<AnimationWidget>> widgets;
    std::vector<std::unique_ptr<DynamicWidget>> dots;
    for (int i = 0; i < count; ++i) {
        auto widget = std::make_unique<AnimationWidget>(L"bob", i % 1000, i / 1000, false);
        widget->SetDeleteWhenRemoved(false);
        widget->TweenProperty(L"x", static_cast<float>(i % 1000 + 500), 1.0e9f);
        widget->AddOscillation(std::make_unique<Oscillation>(
            widget.get(), L"", std::vector<Oscillation::Entry>{{widget->GetProperty(L"angle"), 15.0f}}, 0.0,
            0.005, std::make_unique<SineWave>(), RefreshKind::Redraw | RefreshKind::Transform));
        auto dot = std::make_unique<DynamicWidget>(0, 0, nullptr, 1.0f);
        dot->SetDeleteWhenRemoved(false);
        dot->TweenProperty(L"y", 40.0f, static_cast<float>(10 + i % 50));
        widget->AddObject(L"dot", dot.get());
        manager.AddWidget(widget.get());
        widgets.push_back(std::move(widget));
        dots.push_back(std::move(dot));
    }
    for (auto _ : state)
        manager.UpdateFrameF(1.0f);
    state.SetItemsProcessed(state.iterations() * count);
    manager.RemoveAllWidgets(false, true);
}
BENCHMARK(ScriptedWidgetsTick)->Arg(500)->Unit(benchmark::kMicrosecond);

double LoadScripts()
{
    AnimationStats loading(false, {}, "bench_animations.xml");
    return loading.GetAnimationCount();
}

double ParseWithBareExpat()
{
    long elements = 0;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &elements);
    XML_SetElementHandler(
        parser, [](void* data, const XML_Char*, const XML_Char**) { ++*static_cast<long*>(data); },
        [](void*, const XML_Char*) {});
    XML_SetCharacterDataHandler(parser, [](void*, const XML_Char*, int) {});
    const std::string& bytes = ScriptsDocument();
    XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), XML_TRUE);
    XML_ParserFree(parser);
    return static_cast<double>(elements);
}

// CPU time of this thread, so that other work on a busy machine does not count.
double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <typename Function> double Seconds(Function function)
{
    double start = ThreadSeconds();
    benchmark::DoNotOptimize(function());
    return ThreadSeconds() - start;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    // Best of many rounds, the two passes taking turns so that both meet the
    // same conditions. The loader reads the file; expat parses bytes in memory.
    ScriptFolder folder;
    folder.Write("bench_animations.xml", ScriptsDocument());
    double loader = 1e9;
    double expat = 1e9;
    for (int round = 0; round < 15; ++round) {
        loader = std::min(loader, Seconds(LoadScripts));
        expat = std::min(expat, Seconds(ParseWithBareExpat));
    }
    double megabytes = static_cast<double>(ScriptsDocument().size()) / (1 << 20);
    std::printf("Animation loader: %.1f MB/s, bare expat: %.1f MB/s, ratio %.2f (goal >= 0.50)\n",
                megabytes / loader, megabytes / expat, expat / loader);
    return 0;
}
