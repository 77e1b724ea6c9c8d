// Keymap compile throughput next to a baseline that only splits the same
// bytes into lines; scripts/bench reports the ratio.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"

namespace {

const std::string& defaultKeymap() {
  static const std::string text = readProjectFile("data/defaultkeymap.txt");
  return text;
}

const std::string& largeKeymap() {
  static const std::string text = generateLargeKeymap(1 << 20);
  return text;
}

void compile(benchmark::State& state, const std::string& text) {
  EngineState engine;
  setEngineDefaults(engine);
  for (auto _ : state) {
    const std::vector<std::string> messages = compileText(engine, text);
    if (!messages.empty()) state.SkipWithError(messages.front().c_str());
  }
  clearKeymaps(engine);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void splitLines(benchmark::State& state, const std::string& text) {
  for (auto _ : state) benchmark::DoNotOptimize(countLines(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_CompileDefaultKeymap(benchmark::State& state) {
  compile(state, defaultKeymap());
}
void BM_SplitLinesDefaultKeymap(benchmark::State& state) {
  splitLines(state, defaultKeymap());
}
void BM_CompileLargeKeymap(benchmark::State& state) {
  compile(state, largeKeymap());
}
void BM_SplitLinesLargeKeymap(benchmark::State& state) {
  splitLines(state, largeKeymap());
}

BENCHMARK(BM_CompileDefaultKeymap);
BENCHMARK(BM_SplitLinesDefaultKeymap);
BENCHMARK(BM_CompileLargeKeymap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitLinesLargeKeymap)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
