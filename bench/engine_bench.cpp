// Time per key event through handleKeyEvent against a KeyOutput that does
// nothing, on the default keymap.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"

namespace {

void runCase(benchmark::State& state, BenchCase which) {
  DefaultKeymapEngine bench;
  prepareCase(bench, which);
  uint32_t time = 0;
  const unsigned long callsBefore = bench.ime.calls;
  for (auto _ : state) {
    benchmark::DoNotOptimize(runCaseEvent(bench, which, time));
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["ns/event"] =
      benchmark::Counter(static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  // IME calls per handled event (per press for the keypad press case).
  state.counters["IME calls/event"] =
      static_cast<double>(bench.ime.calls - callsBefore) / static_cast<double>(state.iterations());
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
void BM_OrdinaryTypingInToggleMode(benchmark::State& state) {
  runCase(state, BenchCase::kOrdinaryTyping);
}
void BM_KeypadPressDownAndUp(benchmark::State& state) {
  runCase(state, BenchCase::kKeypadPress);
}

BENCHMARK(BM_PassThrough);
BENCHMARK(BM_UnmappedKeyInToggleMode);
BENCHMARK(BM_TogglePressTwoKeyKana);
BENCHMARK(BM_TwoTouchSecondStroke);
BENCHMARK(BM_PostConversionStep);
BENCHMARK(BM_OrdinaryTypingInToggleMode);
BENCHMARK(BM_KeypadPressDownAndUp);

}  // namespace

BENCHMARK_MAIN();
