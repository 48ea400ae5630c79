// One tick of motion for a screenful of animated widgets: 2,000 dynamic
// widgets, each with a tween and an oscillation, stepped through the widget
// manager's fractional update. The tick is 10 ms; this should stay well under
// 1 ms of it.
#include "ui/DynamicWidget.h"
#include "ui/Oscillation.h"
#include "ui/Tweener.h"
#include "ui/WidgetManager.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

void AnimatedWidgetsTick(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    WidgetManager manager(nullptr);
    std::vector<std::unique_ptr<DynamicWidget>> widgets;
    widgets.reserve(count);
    for (int i = 0; i < count; ++i) {
        auto widget = std::make_unique<DynamicWidget>(i % 1000, i / 1000, nullptr, 1.0f);
        widget->SetDeleteWhenRemoved(false);
        float* x = widget->GetProperty(L"x");
        widget->AddController(std::make_unique<Tweener>(
            widget.get(), L"", std::make_unique<InOutCurve>(std::make_unique<InQuad>()), 1.0e9f,
            std::vector<Tweener::Entry>{{x, *x, *x + 500.0f}}, RefreshKind::Redraw));
        widget->AddOscillation(std::make_unique<Oscillation>(
            widget.get(), L"", std::vector<Oscillation::Entry>{{widget->GetProperty(L"angle"), 15.0f}}, 0.0,
            0.005, std::make_unique<SineWave>(), RefreshKind::Redraw | RefreshKind::Transform));
        manager.AddWidget(widget.get());
        widgets.push_back(std::move(widget));
    }
    for (auto _ : state)
        manager.UpdateFrameF(1.0f);
    state.SetItemsProcessed(state.iterations() * count);
    manager.RemoveAllWidgets(false, false);
}

} // namespace

BENCHMARK(AnimatedWidgetsTick)->Arg(2000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
