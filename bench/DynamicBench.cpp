// One tick of motion for a screenful of animated widgets: 2,000 dynamic
// widgets, each with a tween and an oscillation, stepped through the widget
// manager's fractional update. Each tween moves its widget across 500 pixels
// in half a second (50 ticks, eased) and is started again the other way when
// it ends, as a script would, so every tick does real easing and ends and
// starts tweens along the way. The tick is 10 ms; this should stay well
// under 1 ms of it.
#include "ui/DynamicWidget.h"
#include "ui/Oscillation.h"
#include "ui/Tweener.h"
#include "ui/WidgetManager.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr float kTweenTicks = 50.0f;
constexpr float kDistance = 500.0f;

// A tween of the widget's x from where it is to the other end of its run.
void StartTween(DynamicWidget& widget, float home)
{
    float* x = widget.GetProperty(L"x");
    float to = *x < home + kDistance / 2 ? home + kDistance : home;
    widget.AddController(std::make_unique<Tweener>(
        &widget, L"move", std::make_unique<InOutCurve>(std::make_unique<InQuad>()), kTweenTicks,
        std::vector<Tweener::Entry>{{x, *x, to}}, RefreshKind::Redraw));
}

void AnimatedWidgetsTick(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    WidgetManager manager(nullptr);
    std::vector<std::unique_ptr<DynamicWidget>> widgets;
    std::vector<float> homes;
    widgets.reserve(count);
    for (int i = 0; i < count; ++i) {
        auto widget = std::make_unique<DynamicWidget>(i % 1000, i / 1000, nullptr, 1.0f);
        widget->SetDeleteWhenRemoved(false);
        homes.push_back(widget->GetX());
        StartTween(*widget, homes.back());
        widget->AddOscillation(std::make_unique<Oscillation>(
            widget.get(), L"", std::vector<Oscillation::Entry>{{widget->GetProperty(L"angle"), 15.0f}}, 0.0,
            0.005, std::make_unique<SineWave>(), RefreshKind::Redraw | RefreshKind::Transform));
        manager.AddWidget(widget.get());
        widgets.push_back(std::move(widget));
    }
    std::int64_t restarts = 0;
    for (auto _ : state) {
        manager.UpdateFrameF(1.0f);
        for (int i = 0; i < count; ++i) {
            if (widgets[i]->FindController(L"move") == nullptr) {
                StartTween(*widgets[i], homes[i]);
                ++restarts;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["restarts"] = static_cast<double>(restarts);
    manager.RemoveAllWidgets(false, false);
}

} // namespace

BENCHMARK(AnimatedWidgetsTick)->Arg(2000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
