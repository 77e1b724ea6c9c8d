// Time per key event through handleKeyEvent against a KeyOutput that does
// nothing, on the default keymap.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"

namespace {

void runCase(benchmark::State& state, BenchCase which) {
  BenchEngine bench;
  prepareCase(bench, which);
  uint32_t time = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(runCaseEvent(bench, which, time));
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["ns/event"] =
      benchmark::Counter(static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_PassThrough(benchmark::State& state) {
  runCase(state, BenchCase::kPassThrough);
}
void BM_UnmappedKeyInToggleMode(benchmark::State& state) {
  runCase(state, BenchCase::kUnmappedInToggle);
}
void BM_TogglePressTwoKeyKana(benchmark::State& state) {
  runCase(state, BenchCase::kTogglePress);
}
void BM_TwoTouchSecondStroke(benchmark::State& state) {
  runCase(state, BenchCase::kSecondStroke);
}
void BM_PostConversionStep(benchmark::State& state) {
  runCase(state, BenchCase::kPostConversion);
}

BENCHMARK(BM_PassThrough);
BENCHMARK(BM_UnmappedKeyInToggleMode);
BENCHMARK(BM_TogglePressTwoKeyKana);
BENCHMARK(BM_TwoTouchSecondStroke);
BENCHMARK(BM_PostConversionStep);

}  // namespace

BENCHMARK_MAIN();
