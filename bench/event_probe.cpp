// Handles one event of a benchmark case, so that callgrind can count the
// instructions of exactly that event (scripts/callgrind-events).
// Usage: event_probe CASE   with CASE one of: pass unmapped toggle second post
#include <cstdio>
#include <cstring>

#include "bench/bench_support.h"

// Marker function: callgrind's --toggle-collect counts only inside it.
extern "C" __attribute__((noinline)) bool pqkMeasuredEvent(DefaultKeymapEngine& bench,
                                                           BenchCase which, uint32_t& time) {
  return runCaseEvent(bench, which, time);
}

int main(int argc, char** argv) {
  const struct {
    const char* name;
    BenchCase which;
  } cases[] = {{"pass", BenchCase::kPassThrough},
               {"unmapped", BenchCase::kUnmappedInToggle},
               {"toggle", BenchCase::kTogglePress},
               {"second", BenchCase::kSecondStroke},
               {"post", BenchCase::kPostConversion}};
  if (argc != 2) {
    std::fprintf(stderr, "usage: event_probe pass|unmapped|toggle|second|post\n");
    return 2;
  }
  for (const auto& c : cases) {
    if (std::strcmp(argv[1], c.name) != 0) continue;
    DefaultKeymapEngine bench;
    prepareCase(bench, c.which);
    uint32_t time = 0;
    runCaseEvent(bench, c.which, time);  // warm-up: first-touch effects stay out
    const unsigned long before = bench.output.events;
    const bool swallowed = pqkMeasuredEvent(bench, c.which, time);
    std::printf("%s swallowed=%d injected=%lu\n", c.name, swallowed ? 1 : 0,
                bench.output.events - before);
    return 0;
  }
  std::fprintf(stderr, "unknown case %s\n", argv[1]);
  return 2;
}
