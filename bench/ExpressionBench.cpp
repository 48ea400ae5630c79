// Evaluation rate of a cached expression with one variable. Goal: at least 10 million per second.
#include "resources/ExpressionEvaluator.h"

#include <benchmark/benchmark.h>

namespace {

void BM_CachedExpressionWithVariable(benchmark::State& state)
{
    ExpressionEvaluator evaluator;
    evaluator.SetVariable(L"x", Value(3));
    const std::wstring text = L"x*2+1";
    Value result;
    for (auto _ : state) {
        benchmark::DoNotOptimize(evaluator.Evaluate(result, text).ToInt());
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["goal_10M_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) / 1e7, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CachedExpressionWithVariable);

void BM_CachedFloatExpressionWithVariable(benchmark::State& state)
{
    ExpressionEvaluator evaluator;
    evaluator.SetVariable(L"t", Value(0.25f));
    const std::wstring text = L"t*2+1";
    Value result;
    for (auto _ : state) {
        benchmark::DoNotOptimize(evaluator.Evaluate(result, text).ToFloat());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CachedFloatExpressionWithVariable);

void BM_CachedList(benchmark::State& state)
{
    ExpressionEvaluator evaluator;
    evaluator.SetVariable(L"x", Value(3));
    const std::wstring text = L"x*2+1, 'label', 0.5";
    for (auto _ : state) {
        benchmark::DoNotOptimize(evaluator.EvaluateList(text));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CachedList);

} // namespace

BENCHMARK_MAIN();
