// Update and draw of a widget tree of 2,000 plain widgets nested 4 deep, as
// the main loop runs them once per tick. Drawing goes to a Graphics without a
// target, so the numbers are the tree walk's own cost (flags, states,
// translations), to be set beside the renderer's raw quad numbers.
#include "app/VelkAppBase.h"
#include "graphics/Graphics.h"
#include "ui/Widget.h"
#include "ui/WidgetManager.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int WidgetCount = 2000;
constexpr int Fanout[] = {5, 5, 5, 16};

class PlainWidget : public Widget
{
public:
    PlainWidget() { Resize(2, 2, 20, 20); }
};

class CountingWidget : public Widget
{
public:
    CountingWidget() { Resize(2, 2, 20, 20); }
    void Update() override { ++updates; }
    void Draw(Graphics* g) override { g->FillRect(0, 0, m_width, m_height); }
    int updates = 0;
};

template <typename W> void BuildLevel(WidgetContainer* parent, int level, int& made)
{
    if (level >= static_cast<int>(std::size(Fanout)))
        return;
    for (int i = 0; i < Fanout[level] && made < WidgetCount; ++i) {
        auto* widget = new W();
        parent->AddWidget(widget);
        ++made;
        BuildLevel<W>(widget, level + 1, made);
    }
}

template <typename W> void UpdateTree(benchmark::State& state)
{
    VelkAppBase app(L"bench", 1024, 768);
    WidgetManager& manager = *app.GetWidgetManager();
    int made = 0;
    BuildLevel<W>(&manager, 0, made);
    for (auto _ : state) {
        manager.UpdateFrame();
        manager.UpdateFrameF(0.5f);
    }
    state.counters["widgets"] = made;
}

template <typename W> void DrawTree(benchmark::State& state)
{
    VelkAppBase app(L"bench", 1024, 768);
    WidgetManager& manager = *app.GetWidgetManager();
    int made = 0;
    BuildLevel<W>(&manager, 0, made);
    for (auto _ : state) {
        manager.SetDirty();
        benchmark::DoNotOptimize(manager.DrawScreen());
    }
    state.counters["widgets"] = made;
}

BENCHMARK(UpdateTree<PlainWidget>)->Unit(benchmark::kMicrosecond);
BENCHMARK(UpdateTree<CountingWidget>)->Unit(benchmark::kMicrosecond);
BENCHMARK(DrawTree<PlainWidget>)->Unit(benchmark::kMicrosecond);
BENCHMARK(DrawTree<CountingWidget>)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
